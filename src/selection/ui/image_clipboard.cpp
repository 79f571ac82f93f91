#include "selection/ui/image_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>
#include <QUrl>

#include "image/bitmap.h"

namespace palvex::ui {
namespace {

// Qt refuses pictures over its own allocation limit (256 MB by default); ours is the core's
// pixel limit at 4 bytes a pixel, so a picture we could hold is not refused early.
constexpr int kReaderLimitMegabytes = static_cast<int>(kMaxPixels * 4 / (1024 * 1024));

// The first local file among the URLs that reads as an image.
QString ImageFileOf(const QMimeData& data) {
    if (!data.hasUrls()) {
        return {};
    }
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile() && !QImageReader::imageFormat(url.toLocalFile()).isEmpty()) {
            return url.toLocalFile();
        }
    }
    return {};
}

}  // namespace

SystemClipboard::SystemClipboard() {
    QImageReader::setAllocationLimit(kReaderLimitMegabytes);
}

bool SystemClipboard::HasImage() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && (data->hasImage() || !ImageFileOf(*data).isEmpty());
}

QImage SystemClipboard::Image() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr) {
        return {};
    }
    if (data->hasImage()) {
        return qvariant_cast<QImage>(data->imageData());
    }
    const QString file = ImageFileOf(*data);
    if (file.isEmpty()) {
        return {};
    }
    QImageReader reader(file);
    return reader.read();
}

bool SystemClipboard::SetImage(const QImage& image) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setImage(image);
    // The platform may refuse silently; what it holds afterwards tells.
    const QMimeData* data = clipboard->mimeData();
    return data != nullptr && data->hasImage();
}

}  // namespace palvex::ui
