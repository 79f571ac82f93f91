// Build step: turns the Markdown manual into the PDF the help window shows.
//
//     palvex_manual_tool MANUAL.md OUT.pdf
//
// Pictures named in the text are read from the manual's folder and fitted to the text width.
// A picture that cannot be read is left out with a warning.

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Reads each picture from `folder`, hands it to the document and fits it to `width`.
void FitPictures(QTextDocument& document, const QString& folder, double width) {
    std::vector<std::pair<QTextFragment, QTextImageFormat>> pictures;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid() && fragment.charFormat().isImageFormat()) {
                pictures.emplace_back(fragment, fragment.charFormat().toImageFormat());
            }
        }
    }
    for (auto& [fragment, format] : pictures) {
        const QImage picture(folder + "/" + format.name());
        if (picture.isNull()) {
            std::fprintf(stderr, "cannot read picture %s\n", qPrintable(format.name()));
            continue;
        }
        document.addResource(QTextDocument::ImageResource, QUrl(format.name()), picture);
        const double scale = std::min(1.0, width / picture.width());
        format.setWidth(picture.width() * scale);
        format.setHeight(picture.height() * scale);
        QTextCursor cursor(&document);
        cursor.setPosition(fragment.position());
        cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
        cursor.setCharFormat(format);
    }
}

// The Markdown reader sets headings and tables close to the text above them, which shows
// plainly on a page of Latin script (a Japanese font's tall lines hide it): give them room.
void SpaceHeadingsAndTables(QTextDocument& document) {
    QTextCursor cursor(&document);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        if (format.headingLevel() > 1) {
            format.setTopMargin(std::max(format.topMargin(), 14.0));
            format.setBottomMargin(std::max(format.bottomMargin(), 6.0));
            cursor.setPosition(block.position());
            cursor.setBlockFormat(format);
        }
    }
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(frame)) {
            QTextTableFormat format = table->format();
            format.setTopMargin(6.0);
            format.setBottomMargin(6.0);
            format.setCellPadding(3.0);
            format.setBorderCollapse(true);
            table->setFormat(format);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: palvex_manual_tool MANUAL.md OUT.pdf\n");
        return 2;
    }
    // The PDF writer needs a GUI application, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString target = QString::fromLocal8Bit(argv[2]);

    QFile file(source);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    QTextDocument document;
    document.setMarkdown(QString::fromUtf8(file.readAll()));

    QPdfWriter writer(target);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter);
    writer.setTitle(QStringLiteral("Palvex Manual"));
    writer.setCreator(QStringLiteral("Palvex"));
    // The document lays out in points; the text width of A4 less the margins.
    const double textWidth = (210.0 - 36.0) / 25.4 * 72.0;
    FitPictures(document, QFileInfo(source).absolutePath(), textWidth * 0.9);
    SpaceHeadingsAndTables(document);
    document.print(&writer);
    if (!QFileInfo(target).isFile() || QFileInfo(target).size() == 0) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
