#pragma once

#include <QImage>
#include <QMetaObject>
#include <QString>
#include <optional>

namespace palvex::ui {

// The clipboard as the selection sees it: pictures in and out. Tests put their own in its place.
class ImageClipboard {
public:
    virtual ~ImageClipboard() = default;
    // Something the clipboard could hand over as a picture.
    virtual bool HasImage() const = 0;
    // The picture; null when there is none or it cannot be read.
    virtual QImage Image() const = 0;
    // False when the picture could not be put there.
    virtual bool SetImage(const QImage& image) = 0;
};

// The system clipboard: image data, or the file of an image that a file manager or a browser
// offers as a local URL.
class SystemClipboard final : public ImageClipboard {
public:
    SystemClipboard();
    ~SystemClipboard() override;
    bool HasImage() const override;
    QImage Image() const override;
    bool SetImage(const QImage& image) override;

private:
    // The commands ask several times a second; the URLs are looked at once per content.
    QString ImageFile() const;

    QMetaObject::Connection changed_;
    mutable std::optional<QString> imageFile_;
};

}  // namespace palvex::ui
