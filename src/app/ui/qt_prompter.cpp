#include "app/ui/qt_prompter.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
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
    return first.startsWith("*.") && first.size() > 2 && first.indexOf('*', 2) < 0 ? first.mid(2)
                                                                                   : QString();
}

// The filter confirmed, by its position. Qt's own dialog is asked for its combo box's index:
// with the details hidden, selectedNameFilter() gives back whatever text the box shows, which
// need not equal any name set. Other dialogs are matched on the full name or the label alone.
int ChosenFilter(const QFileDialog& dialog, const QStringList& names,
                 const std::vector<FileFilter>& filters) {
    const auto* combo = dialog.findChild<QComboBox*>("fileTypeCombo");
    if (combo != nullptr && combo->count() == names.size() && combo->currentIndex() >= 0) {
        return combo->currentIndex() + 1;
    }
    const QString selected = dialog.selectedNameFilter().trimmed();
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (selected == names[i].trimmed() ||
            selected == ToQString(filters[static_cast<std::size_t>(i)].label).trimmed()) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

}  // namespace

QString QtPrompter::StartFolder(const std::filesystem::path& folder) const {
    std::error_code ec;
    if (!folder.empty() && std::filesystem::is_directory(folder, ec)) {
        return PathToQString(folder);
    }
    return lastFolder_;  // empty: Qt's own choice
}

std::optional<SaveFileChoice> QtPrompter::RunFileDialog(QFileDialog& dialog,
                                                        const std::vector<FileFilter>& filters,
                                                        int selectedFilter,
                                                        const QString& initialName) {
    // Qt's own dialog behaves the same on every desktop, and the filter it reports is known.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const QStringList names = NameFilters(filters);
    dialog.setNameFilters(names);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (selectedFilter >= 1 && selectedFilter <= names.size()) {
        dialog.selectNameFilter(names[selectedFilter - 1]);
    }
    // After the filter: choosing one gives the name in the field that filter's extension.
    if (!initialName.isEmpty()) {
        dialog.selectFile(initialName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString chosen = dialog.selectedFiles().first();
    lastFolder_ = QFileInfo(chosen).absolutePath();
    return SaveFileChoice{ToPath(chosen), ChosenFilter(dialog, names, filters)};
}

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
    QFileDialog dialog(parent_, ToQString(request.title), StartFolder(request.folder));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);  // the save routine asks itself
    std::optional<SaveFileChoice> choice = RunFileDialog(
        dialog, request.filters, request.selectedFilter, ToQString(request.initialName));
    if (!choice) {
        return std::nullopt;
    }
    // As on Windows, a name typed without an extension gets the chosen format's one.
    if (QFileInfo(PathToQString(choice->path)).suffix().isEmpty()) {
        QString extension;
        if (choice->filter >= 1 && choice->filter <= static_cast<int>(request.filters.size())) {
            extension = FirstExtension(request.filters[choice->filter - 1]);
        }
        if (extension.isEmpty()) {
            extension = ToQString(request.defaultExtension);
        }
        if (!extension.isEmpty()) {
            choice->path += "." + ToStdString(extension);
        }
    }
    return choice;
}

std::optional<SaveFileChoice> QtPrompter::AskOpenFile(const OpenFileRequest& request) {
    QFileDialog dialog(parent_, ToQString(request.title), StartFolder(request.folder));
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
