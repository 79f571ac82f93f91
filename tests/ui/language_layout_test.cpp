// The ribbon and the status bar under every language: each element is at least as large as its
// text needs, nothing overlaps, and a screenshot of each tab shows every label whole.

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLayout>
#include <QPainter>
#include <QRegularExpression>

#include "app/ui/qt_text.h"
#include "mainwindow/ui/my_ribbon_bar.h"
#include "mainwindow/ui/my_status_bar.h"
#include "mainwindow/ui/ribbon_button.h"
#include "mainwindow/ui/ribbon_paint.h"
#include "mainwindow/ui/ribbon_panel.h"
#include "mainwindow/ui/ribbon_spin_edit.h"
#include "mainwindow/ui/ribbon_tab_bar.h"
#include "resources/command_ids.h"
#include "resources/command_table.h"
#include "resources/string_table.h"
#include "resources/texts.h"
#include "ui/app_fixture.h"
#include "ui/language_fixture.h"
#include "ui/pseudo_language.h"

namespace palvex {
namespace {

using Style = ui::RibbonButton::Style;

class LanguageLayoutTest : public test::LanguageFixture {
protected:
    void StartShown() {
        ASSERT_TRUE(Start());
        QApplication::processEvents();
    }

    ui::CMyRibbonBar& Ribbon() { return *app->MainFrame()->Ribbon(); }

    void ShowTab(int tab) {
        ASSERT_TRUE(Ribbon().ActivateRibbonTab(Ribbon().TabName(tab)));
        QApplication::processEvents();
    }

    std::vector<ui::RibbonPanel*> Panels(int tab) {
        std::vector<ui::RibbonPanel*> panels;
        for (int i = 0; Ribbon().Panel(tab, i) != nullptr; ++i) {
            panels.push_back(Ribbon().Panel(tab, i));
        }
        return panels;
    }

    // Wide enough for the widest tab, so that no panel lies beyond the window's edge.
    void WidenForTabs() {
        int widest = 0;
        for (int tab = 0; tab < Ribbon().TabCount(); ++tab) {
            int width = 0;
            for (const ui::RibbonPanel* panel : Panels(tab)) {
                width += panel->sizeHint().width() + 4;
            }
            widest = std::max(widest, width);
        }
        QWidget& frame = *app->MainFrame();
        frame.resize(std::max(frame.width(), widest + 40), frame.height());
        QApplication::processEvents();
    }
};

std::string LanguageName(const ::testing::TestParamInfo<test::TestLanguage>& info) {
    return info.param.name;
}

// The room a button's label takes, by the button's own rules of where the text goes.
int LabelRoom(const ui::RibbonButton& button) {
    const QFontMetrics metrics = button.fontMetrics();
    const QString label = button.Label();
    const int arrow = button.HasArrow() ? 10 : 0;
    switch (button.ButtonStyle()) {
        case Style::Large: {
            int widest = 32;
            for (const QString& line : ui::LargeLabelLines(label, metrics)) {
                widest = std::max(widest, metrics.horizontalAdvance(line) + arrow);
            }
            return widest + 2;
        }
        case Style::Small:
            return 3 + 16 + 5 + (label.isEmpty() ? 0 : metrics.horizontalAdvance(label)) + arrow;
        case Style::Group:
            return metrics.horizontalAdvance(label) + 4;
        default:
            return 0;
    }
}

void ExpectApart(const std::vector<std::pair<QString, QRect>>& boxes) {
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        for (std::size_t j = i + 1; j < boxes.size(); ++j) {
            EXPECT_FALSE(boxes[i].second.intersects(boxes[j].second))
                << ui::ToStdString(boxes[i].first) << " overlaps "
                << ui::ToStdString(boxes[j].first);
        }
    }
}

TEST_P(LanguageLayoutTest, RibbonElementsPanelsAndTabsHoldTheirTexts) {
    StartShown();
    WidenForTabs();
    for (int tab = 0; tab < Ribbon().TabCount(); ++tab) {
        ShowTab(tab);
        std::vector<std::pair<QString, QRect>> panelBoxes;
        for (ui::RibbonPanel* panel : Panels(tab)) {
            SCOPED_TRACE(ui::ToStdString(panel->Title()));
            panelBoxes.emplace_back(panel->Title(), panel->geometry());
            EXPECT_GE(panel->width() - 2, panel->fontMetrics().horizontalAdvance(panel->Title()));
            // The caption strip at the foot holds a line of text, and no element reaches into it.
            const int caption = panel->layout()->contentsMargins().bottom() - 2;
            EXPECT_GE(caption, panel->fontMetrics().height() + 2);
            const int captionTop = panel->height() - 1 - caption;
            std::vector<std::pair<QString, QRect>> boxes;
            for (QWidget* element : panel->Elements()) {
                const QRect box(element->mapTo(panel, QPoint(0, 0)), element->size());
                boxes.emplace_back(element->objectName(), box);
                SCOPED_TRACE(ui::ToStdString(element->objectName()));
                EXPECT_TRUE(panel->rect().contains(box));
                EXPECT_LT(box.bottom(), captionTop);
                EXPECT_GE(element->width(), element->sizeHint().width());
                std::vector<QWidget*> parts{element};
                // A row of group buttons: each of them.
                std::vector<std::pair<QString, QRect>> cells;
                for (auto* cell : element->findChildren<ui::RibbonButton*>()) {
                    parts.push_back(cell);
                    cells.emplace_back(cell->Label(), cell->geometry());
                }
                ExpectApart(cells);
                for (QWidget* part : parts) {
                    if (auto* button = qobject_cast<ui::RibbonButton*>(part)) {
                        SCOPED_TRACE(ui::ToStdString(button->Label()));
                        EXPECT_LE(LabelRoom(*button), button->sizeHint().width());
                        EXPECT_GE(button->width(), button->sizeHint().width());
                        EXPECT_GE(button->height(), button->sizeHint().height());
                    } else if (auto* box = qobject_cast<QCheckBox*>(part)) {
                        EXPECT_GE(box->width(), box->sizeHint().width());
                    } else if (auto* edit = qobject_cast<ui::RibbonSpinEdit*>(part)) {
                        for (const QLabel* label : edit->findChildren<QLabel*>()) {
                            EXPECT_GE(label->width(),
                                      label->fontMetrics().horizontalAdvance(label->text()));
                        }
                    }
                }
            }
            ExpectApart(boxes);
        }
        ExpectApart(panelBoxes);
    }
    auto* tabs = Ribbon().findChild<ui::RibbonTabBar*>("ribbonTabs");
    ASSERT_NE(tabs, nullptr);
    for (int tab = 0; tab < tabs->count(); ++tab) {
        SCOPED_TRACE(ui::ToStdString(tabs->tabText(tab)));
        EXPECT_GE(tabs->tabRect(tab).width() - 4,
                  tabs->fontMetrics().horizontalAdvance(tabs->tabText(tab)));
        // Every tab in sight without scrolling.
        EXPECT_LE(tabs->tabRect(tab).right(), tabs->width());
    }
}

TEST_P(LanguageLayoutTest, StatusPanesHoldTheirSamplesAndEveryAngle) {
    StartShown();
    ui::CMyStatusBar& bar = *app->MainFrame()->StatusBar();
    const std::vector<std::pair<int, QString>> samples = {
        {cmd::ID_PANE_ANGLE, ui::ToQString(texts::kAnglePaneSample)},
        {cmd::ID_PANE_COLOR, ui::ToQString(texts::kColourPaneSample)},
        {cmd::ID_PANE_POS, ui::ToQString(texts::kPositionPaneSample)},
        {cmd::ID_PANE_SIZE, ui::ToQString(texts::kSizePaneSample)},
        {cmd::ID_PANE_CURSOR, ui::ToQString(texts::kCursorPaneSample)}};
    auto fits = [&bar](int id, const QString& text) {
        bar.SetPaneText(id, text);
        const QLabel* pane = bar.Pane(id);
        return pane->sizeHint().width() <= pane->width();
    };
    for (const auto& [id, sample] : samples) {
        EXPECT_TRUE(fits(id, sample)) << ui::ToStdString(sample);
    }
    for (int degrees = 1; degrees <= 360; ++degrees) {
        const QString angle = ui::ToQString(texts::kAngleFormat).arg(degrees);
        EXPECT_TRUE(fits(cmd::ID_PANE_ANGLE, angle)) << ui::ToStdString(angle);
    }
    // The panes side by side, none over another.
    std::vector<std::pair<QString, QRect>> boxes;
    for (const int id : bar.PaneIds()) {
        boxes.emplace_back(bar.Pane(id)->objectName(), bar.Pane(id)->geometry());
    }
    ExpectApart(boxes);
}

// Where ink is in a picture of some text on a plain or vertically shaded ground: the columns of
// the pixels that stand out from their row's ground, read just outside `area` (a border may lie
// further out, and a row of a narrow label can hold more ink than ground).
struct InkSpan {
    int left = -1;
    int right = -1;
    int Width() const { return left < 0 ? 0 : right - left + 1; }
};

InkSpan FindInk(const QImage& image, const QRect& area) {
    InkSpan span;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const QRgb before = image.pixel(area.left() - 1, y);
        const QRgb after = image.pixel(area.right() + 1, y);
        int likeBefore = 0;
        int likeAfter = 0;
        for (int x = area.left(); x <= area.right(); ++x) {
            likeBefore += image.pixel(x, y) == before ? 1 : 0;
            likeAfter += image.pixel(x, y) == after ? 1 : 0;
        }
        const QRgb ground = likeBefore >= likeAfter ? before : after;
        for (int x = area.left(); x <= area.right(); ++x) {
            if (std::abs(qGray(image.pixel(x, y)) - qGray(ground)) > 80) {
                span.left = span.left < 0 ? x : std::min(span.left, x);
                span.right = std::max(span.right, x);
            }
        }
    }
    return span;
}

// The width of the ink of `lines` drawn alone, in device pixels.
int InkWidthAlone(const QStringList& lines, const QFont& font, qreal ratio) {
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString& line : lines) {
        const QSize size(metrics.horizontalAdvance(line) + 40, metrics.height() + 8);
        QImage image(size * ratio, QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(20, 4 + metrics.ascent(), line);
        painter.end();
        widest = std::max(widest, FindInk(image, image.rect().adjusted(1, 0, -1, 0)).Width());
    }
    return widest;
}

// The label shown in `area` (device pixels of `shot`) is whole: its ink is as wide as the text
// drawn alone and keeps clear of the area's sides.
void ExpectWhole(const QImage& shot, const QRect& area, const QStringList& lines, const QFont& font,
                 qreal ratio) {
    const int inset = static_cast<int>(2 * ratio);
    const QRect inner = area.adjusted(inset, 0, -inset, 0);
    const InkSpan ink = FindInk(shot, inner);
    const std::string text = ui::ToStdString(lines.join(' '));

    ASSERT_GE(ink.left, 0) << text << ": no label to be seen";
    EXPECT_GT(ink.left, inner.left()) << text << ": cut at the left";
    EXPECT_LT(ink.right, inner.right()) << text << ": cut at the right";
    EXPECT_GE(ink.Width() + 2 * ratio, InkWidthAlone(lines, font, ratio)) << text;
}

TEST_P(LanguageLayoutTest, ScreenshotOfEachTabShowsEveryLabelWhole) {
    StartShown();
    WidenForTabs();
    QWidget& frame = *app->MainFrame();
    const qreal ratio = frame.devicePixelRatioF();
    const QString folder = QStringLiteral(PALVEX_LAYOUT_SHOTS_DIR);
    QDir().mkpath(folder);
    auto* tabs = Ribbon().findChild<ui::RibbonTabBar*>("ribbonTabs");
    ASSERT_NE(tabs, nullptr);
    for (int tab = 0; tab < Ribbon().TabCount(); ++tab) {
        ShowTab(tab);
        const QImage shot = frame.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QString name = QString("%1/%2-%3x-tab%4.png")
                                 .arg(folder, QString::fromStdString(GetParam().name))
                                 .arg(ratio)
                                 .arg(tab + 1);
        EXPECT_TRUE(shot.save(name)) << ui::ToStdString(name);
        // Logical pixels of a widget to device pixels of the screenshot.
        auto inShot = [&frame, ratio](const QWidget& widget, const QRect& part) {
            const QRect logical(widget.mapTo(&frame, part.topLeft()), part.size());
            return QRect(QPoint(qRound(logical.left() * ratio), qRound(logical.top() * ratio)),
                         QSize(qRound(logical.width() * ratio), qRound(logical.height() * ratio)));
        };
        for (ui::RibbonPanel* panel : Panels(tab)) {
            SCOPED_TRACE(ui::ToStdString(panel->Title()));
            const int caption = 17;
            ExpectWhole(shot,
                        // Inside the caption's rounded box.
                        inShot(*panel, QRect(4, panel->height() - caption, panel->width() - 8,
                                             caption - 2)),
                        {panel->Title()}, panel->font(), ratio);
            for (auto* button : panel->findChildren<ui::RibbonButton*>()) {
                const QFontMetrics metrics = button->fontMetrics();
                const QString label = button->Label();
                QRect band;
                QStringList lines{ui::DisplayText(label)};
                switch (button->ButtonStyle()) {
                    case Style::Large:
                        lines = ui::LargeLabelLines(label, metrics);
                        band = QRect(0, 39, button->width(), 2 * metrics.height());
                        break;
                    case Style::Small:
                        band = QRect(19, 3, button->width() - 19, button->height() - 6);
                        break;
                    case Style::Group:
                        band = QRect(0, 3, button->width(), button->height() - 6);
                        break;
                    default:
                        continue;
                }
                if (label.isEmpty()) {
                    continue;
                }
                SCOPED_TRACE(ui::ToStdString(label));
                ExpectWhole(shot, inShot(*button, band), lines, button->font(), ratio);
            }
        }
        for (int i = 0; i < tabs->count(); ++i) {
            ExpectWhole(shot, inShot(*tabs, tabs->tabRect(i).adjusted(4, 5, -4, -2)),
                        {tabs->tabText(i)}, tabs->font(), ratio);
        }
    }
}

// A language whose angle reads longer than the pane's sample.
class WordyAngles final : public TextTranslator {
public:
    bool Translate(std::string_view /*context*/, std::string_view source,
                   std::string& translation) const override {
        if (source == texts::kAngleFormat.source) {
            translation = "%1 degrees of turn";
        } else if (source == texts::kAnglePaneSample.source) {
            translation = " 360° ";
        } else {
            return false;
        }
        return true;
    }
};

class WordyAnglesTest : public test::AppFixture {
protected:
    void SetUp() override { InstallTextTranslator(std::make_unique<const WordyAngles>(), "xx"); }
    void TearDown() override {
        test::AppFixture::TearDown();
        test::InstallJapanese();
    }
};

TEST_F(WordyAnglesTest, AnglePaneHoldsTheLongestAngleNotOnlyItsSample) {
    ASSERT_TRUE(Start());
    ui::CMyStatusBar& bar = *app->MainFrame()->StatusBar();
    for (const int degrees : {1, 45, 359, 360}) {
        const QString angle = ui::ToQString(texts::kAngleFormat).arg(degrees);
        bar.SetPaneText(cmd::ID_PANE_ANGLE, angle);
        const QLabel* pane = bar.Pane(cmd::ID_PANE_ANGLE);
        EXPECT_LE(pane->sizeHint().width(), pane->width()) << ui::ToStdString(angle);
    }
}

// The pseudo language keeps what code and layouts rely on: the access key, the placeholders,
// the line breaks and the blanks at either end; and it is much wider than the Japanese.
TEST(PseudoLanguage, KeepsKeysPlaceholdersAndLinesAndWidensEveryCommandText) {
    std::vector<std::string> sources;
    for (const CommandInfo& row : CommandTable()) {
        for (const Text& text : {row.label, row.prompt, row.panel, row.heading}) {
            sources.emplace_back(text.source);
        }
    }
    for (int id = 30001; id < 30400; ++id) {
        sources.emplace_back(LoadString(id));
    }
    const QFontMetrics metrics(QApplication::font());
    const QRegularExpression placeholder("%[0-9dsu]");
    auto ends = [](const QString& text) {
        const qsizetype head =
            std::find_if(text.begin(), text.end(), [](QChar c) { return !c.isSpace(); }) -
            text.begin();
        qsizetype tail = 0;
        while (tail < text.size() - head && text[text.size() - 1 - tail].isSpace()) {
            ++tail;
        }
        return std::pair{text.left(head), text.right(tail)};
    };
    qint64 japaneseWidth = 0;
    qint64 pseudoWidth = 0;
    for (const std::string& source : sources) {
        const QString japanese = QString::fromStdString(source);
        const QString pseudo = QString::fromStdString(test::PseudoTranslator::Pseudo(source));
        SCOPED_TRACE(source);
        EXPECT_EQ(QKeySequence::mnemonic(pseudo), QKeySequence::mnemonic(japanese));
        EXPECT_EQ(pseudo.count('\n'), japanese.count('\n'));
        EXPECT_EQ(ends(pseudo), ends(japanese));
        QStringList kept;
        QStringList wanted;
        for (const auto& match : placeholder.globalMatch(pseudo)) {
            kept.push_back(match.captured());
        }
        for (const auto& match : placeholder.globalMatch(japanese)) {
            wanted.push_back(match.captured());
        }
        EXPECT_EQ(kept, wanted);
        japaneseWidth += metrics.horizontalAdvance(japanese);
        pseudoWidth += metrics.horizontalAdvance(pseudo);
    }
    EXPECT_GT(pseudoWidth, japaneseWidth * 3 / 2);
}

TEST(LargeLabelLines, BreakAtTheBlankThatLeavesTheWiderLineNarrowest) {
    const QFontMetrics metrics(QApplication::font());
    EXPECT_EQ(ui::LargeLabelLines("a bb cccccccc", metrics), QStringList({"a bb", "cccccccc"}));
    EXPECT_EQ(ui::LargeLabelLines("cccccccc bb a", metrics), QStringList({"cccccccc", "bb a"}));
    // One blank: broken there, as the Japanese labels always were.
    EXPECT_EQ(ui::LargeLabelLines("範囲 選択", metrics), QStringList({"範囲", "選択"}));
    EXPECT_EQ(ui::LargeLabelLines("wwwwwwwwww i", metrics), QStringList({"wwwwwwwwww", "i"}));
    // No blank, or only a leading one: one line; the access key's marker never shows.
    EXPECT_EQ(ui::LargeLabelLines("透過色", metrics), QStringList({"透過色"}));
    EXPECT_EQ(ui::LargeLabelLines(" &Open", metrics), QStringList({" Open"}));
    EXPECT_EQ(ui::LargeLabelLines("Save &as a copy", metrics), QStringList({"Save as", "a copy"}));
}

INSTANTIATE_TEST_SUITE_P(Languages, LanguageLayoutTest, ::testing::ValuesIn(test::TestLanguages()),
                         LanguageName);

}  // namespace
}  // namespace palvex
