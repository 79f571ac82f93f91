#pragma once

#include <gtest/gtest.h>

#include "ui/app_fixture.h"
#include "ui/pseudo_language.h"

namespace palvex::test {

// An editor test run once for each of the test languages, Japanese put back after each.
class LanguageFixture : public AppFixture, public ::testing::WithParamInterface<TestLanguage> {
protected:
    void SetUp() override { GetParam().install(); }
    void TearDown() override {
        AppFixture::TearDown();
        InstallJapanese();
    }
};

}  // namespace palvex::test
