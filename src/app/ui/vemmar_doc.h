#pragma once

#include <QObject>
#include <QString>
#include <filesystem>

namespace palvex::ui {

// The document: only the path, the title and the modified flag. The image lives in the view.
class CVemmarDoc final : public QObject {
    Q_OBJECT

public:
    explicit CVemmarDoc(QObject* parent = nullptr);

    const std::filesystem::path& PathName() const { return path_; }
    QString Title() const { return title_; }
    bool IsModified() const { return modified_; }

    void SetModifiedFlag(bool modified = true);
    // A loaded file becomes the document's path; its name becomes the title.
    void SetPathName(const std::filesystem::path& path);
    // A new document: no path, the untitled title, not modified.
    void OnNewDocument();

signals:
    void TitleChanged(const QString& title);
    void ModifiedChanged(bool modified);

private:
    std::filesystem::path path_;
    QString title_;
    bool modified_ = false;
};

}  // namespace palvex::ui
