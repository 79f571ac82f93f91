#pragma once

namespace palvex::test {}  // namespace palvex::test
