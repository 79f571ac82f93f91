#pragma once

#include "app/app_settings.h"
#include "app/recent_files.h"
#include "image/image_loader.h"

namespace palvex {

// The editing state every part of the editor shares: the preferences and restored state (zoom,
// background, colours, tool mode ...), the working image with its key and loaded-file facts,
// and the recent-file list.
struct EditorModel {
    AppSettings settings;
    ImageState image;
    RecentFileList recent;
};

}  // namespace palvex
