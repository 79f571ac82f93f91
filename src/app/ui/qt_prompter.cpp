#include "app/ui/qt_prompter.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "app/ui/qt_text.h"
#include "image/colour.h"
#include "image/ui/assuku_dlg.h"
#include "resources/texts.h"

namespace palvex::ui {
namespace {

// Qt reads a filter's patterns from its last parentheses, and some labels carry their own, so
// the patterns follow in a group of their own that the dialog is told not to show.
QStringList NameFilters(const std::vector<FileFilter>& filters) {
    QStringList names;
    for (const FileFilter& filter : filters) {
        QString patterns = ToQString(filter.patterns);
        patterns.replace(';', ' ');
        names << ToQString(filter.label) + " (" + patterns + ")";
    }
    return names;
}

// The first extension of a filter, which a name typed without one receives.
QString FirstExtension(const FileFilter& filter) {
    const QString patterns = ToQString(filter.patterns);
    const QString first = patterns.section(';', 0, 0);
    return first.startsWith("*.") ? first.mid(2) : QString();
}

std::optional<SaveFileChoice> RunFileDialog(QFileDialog& dialog,
                                            const std::vector<FileFilter>& filters,
                                            int selectedFilter) {
    const QStringList names = NameFilters(filters);
    dialog.setNameFilters(names);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (selectedFilter >= 1 && selectedFilter <= names.size()) {
        dialog.selectNameFilter(names[selectedFilter - 1]);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return SaveFileChoice{ToPath(dialog.selectedFiles().first()),
                          static_cast<int>(names.indexOf(dialog.selectedNameFilter())) + 1};
}

}  // namespace

Answer QtPrompter::Show(const MessageRequest& request) {
    QMessageBox box(parent_);
    box.setWindowTitle(ToQString(texts::kAppTitle));
    box.setText(ToQString(request.Text()));
    switch (request.icon) {
        case MessageIcon::Error:
            box.setIcon(QMessageBox::Critical);
            break;
        case MessageIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
    }
    switch (request.buttons) {
        case MessageButtons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MessageButtons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case MessageButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        default:
            return request.buttons == MessageButtons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

std::optional<SaveFileChoice> QtPrompter::AskSaveFile(const SaveFileRequest& request) {
    QFileDialog dialog(parent_, ToQString(request.title));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);  // the save routine asks itself
    dialog.selectFile(ToQString(request.initialName));
    dialog.setDefaultSuffix(ToQString(request.defaultExtension));
    // As on Windows, a name typed without an extension gets the selected format's one.
    const std::vector<FileFilter> filters = request.filters;
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, filters](const QString& selected) {
                         const QStringList names = NameFilters(filters);
                         const qsizetype index = names.indexOf(selected);
                         if (index >= 0) {
                             dialog.setDefaultSuffix(FirstExtension(filters[index]));
                         }
                     });
    if (request.selectedFilter >= 1 && request.selectedFilter <= static_cast<int>(filters.size())) {
        dialog.setDefaultSuffix(FirstExtension(filters[request.selectedFilter - 1]));
    }
    return RunFileDialog(dialog, request.filters, request.selectedFilter);
}

std::optional<SaveFileChoice> QtPrompter::AskOpenFile(const OpenFileRequest& request) {
    QFileDialog dialog(parent_, ToQString(request.title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return RunFileDialog(dialog, request.filters, request.selectedFilter);
}

std::optional<std::uint32_t> QtPrompter::AskColour(std::uint32_t initial) {
    const QColor start = initial == kNoColour
                             ? QColor(Qt::white)
                             : QColor(RedOf(initial), GreenOf(initial), BlueOf(initial));
    const QColor chosen = QColorDialog::getColor(start, parent_);
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return Rgb(chosen.red(), chosen.green(), chosen.blue());
}

std::optional<int> QtPrompter::AskJpegQuality(int initial) {
    CAssukuDlg dialog(initial, parent_);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Quality();
}

}  // namespace palvex::ui
