#include "selection/ui/image_clipboard.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>
#include <QUrl>
#include <algorithm>

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "image/bitmap.h"

namespace palvex::ui {
namespace {

// Qt refuses pictures over its own allocation limit (256 MB by default); ours is the core's
// pixel limit at 4 bytes a pixel, so a picture we could hold is not refused early.
constexpr int kReaderLimitMegabytes = static_cast<int>(kMaxPixels * 4 / (1024 * 1024));

// A copied folder can put thousands of URLs there, and every right-click asks.
constexpr qsizetype kUrlsLookedAt = 16;

bool HasImageSuffix(const QString& path) {
    static const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
    return !suffix.isEmpty() && formats.contains(suffix);
}

// By its directory entry only: opening a FIFO or a device can wait for ever.
bool IsNonEmptyRegularFile(const QString& path) {
#if defined(_WIN32)
    const QFileInfo info(path);
    return info.isFile() && info.size() > 0;
#else
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode) &&
           st.st_size > 0;
#endif
}

// The first of the first few local URLs that names an image file. Decided from cheap facts
// alone; the file is read only when it is pasted.
QString ImageFileOf(const QMimeData& data) {
    if (!data.hasUrls()) {
        return {};
    }
    const QList<QUrl> urls = data.urls();
    const qsizetype count = std::min(urls.size(), kUrlsLookedAt);
    for (qsizetype i = 0; i < count; ++i) {
        if (!urls[i].isLocalFile()) {
            continue;
        }
        const QString path = urls[i].toLocalFile();
        if (HasImageSuffix(path) && IsNonEmptyRegularFile(path)) {
            return path;
        }
    }
    return {};
}

// Opened without waiting, and read only if what was opened is still a regular file: the entry
// may have been replaced since it was looked at.
QImage ReadImageFile(const QString& path) {
#if defined(_WIN32)
    QImageReader reader(path);
    return reader.read();
#else
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return {};
    }
    struct stat st {};
    QFile file;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {};
    }
    QImageReader reader(&file);
    return reader.read();
#endif
}

}  // namespace

SystemClipboard::SystemClipboard() {
    QImageReader::setAllocationLimit(kReaderLimitMegabytes);
    changed_ = QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged,
                                [this] { imageFile_.reset(); });
}

SystemClipboard::~SystemClipboard() {
    QObject::disconnect(changed_);
}

QString SystemClipboard::ImageFile() const {
    if (!imageFile_) {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        imageFile_ = data != nullptr ? ImageFileOf(*data) : QString();
    }
    return *imageFile_;
}

bool SystemClipboard::HasImage() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && (data->hasImage() || !ImageFile().isEmpty());
}

QImage SystemClipboard::Image() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr) {
        return {};
    }
    if (data->hasImage()) {
        return qvariant_cast<QImage>(data->imageData());
    }
    const QString file = ImageFile();
    return file.isEmpty() ? QImage() : ReadImageFile(file);
}

bool SystemClipboard::SetImage(const QImage& image) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setImage(image);
    // The platform may refuse silently; what it holds afterwards tells.
    const QMimeData* data = clipboard->mimeData();
    return data != nullptr && data->hasImage();
}

}  // namespace palvex::ui
