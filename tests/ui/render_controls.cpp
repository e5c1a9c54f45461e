// Renders each of the program's own controls in each drawing state into PNG
// files, plus one overview sheet, and each of its windows, for the
// documentation.
//
//   quenmark_ui_screenshots OUTPUT_DIRECTORY

#include "ui/quen_button.h"
#include "ui/quen_combo_box.h"
#include "ui/quen_popup_list.h"
#include "render_windows.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <memory>
#include <vector>

namespace quenmark {
namespace {

// Each pixel becomes Scale × Scale pixels, so that the geometry can be seen.
constexpr int Scale = 3;

// The default colour scheme of the calculator.
constexpr TColor BaseColor = 0x02C0FFFFu;
constexpr TColor DarkColor = 0x02007F7Fu;
constexpr TColor InkColor = 0x02000000u;

// A control that can be put into any drawing state for a picture.
template <typename Control>
class Posed : public Control {
public:
    using Control::Control;
    QImage In(TQuenDrawType state) {
        this->PaintAs(state);
        return this->grab().toImage();
    }
};

template <typename Control>
void Dress(Control& control, int width, int height) {
    control.resize(width, height);
    control.SetFaceColor(BaseColor);
    control.SetBorderColor(DarkColor);
    control.SetTextColor(DarkColor);
    control.SetSelectedColor(DarkColor);
    control.SetPushColor(InkColor);
    control.SetFont(QFont("Arial", 9));
    control.SetRoundSize(4);
}

struct Picture {
    QString name;
    QImage image;
};

QImage Enlarged(const QImage& image) {
    return image.scaled(image.size() * Scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

const char* StateName(TQuenDrawType state) {
    switch (state) {
    case dtNormal: return "normal";
    case dtSelected: return "selected";
    case dtPushed: return "pushed";
    }
    return "";
}

struct Row {
    QString name;
    std::vector<Picture> pictures;
};

Row ButtonRow(const QString& name, TQuenButtonStyle style, int width) {
    Posed<TQuenButton> button;
    Dress(button, width, 20);
    button.SetButtonStyle(style);
    button.SetText("HEX");
    Row row{name, {}};
    for (TQuenDrawType state : {dtNormal, dtSelected, dtPushed}) {
        row.pictures.push_back({name + "-" + StateName(state), button.In(state)});
    }
    return row;
}

Row ComboRow() {
    Posed<TQuenComboBox> combo;
    Dress(combo, 120, 20);
    combo.SetItems({"Length", "Area", "Volume", "Mass"});
    combo.SetItemIndex(1);
    Row row{"combo-box", {}};
    for (TQuenDrawType state : {dtNormal, dtSelected, dtPushed}) {
        row.pictures.push_back({QString("combo-box-") + StateName(state), combo.In(state)});
    }
    return row;
}

Row PopupListRow() {
    TQuenPopupList list;
    list.SetItems({"Length", "Area", "Volume", "Mass"});
    list.SetItemHeight(20);
    list.setFont(QFont("Arial", 9));
    list.resize(120, 20);
    list.SetItemIndex(2);
    list.show();
    Row row{"popup-list", {{"popup-list-open", list.grab().toImage()}}};
    list.hide();
    return row;
}

QImage Sheet(const std::vector<Row>& rows) {
    const int labelWidth = 110;
    const int gap = 12;
    int width = 0;
    int height = gap;
    for (const Row& row : rows) {
        int rowWidth = labelWidth;
        int rowHeight = 0;
        for (const Picture& picture : row.pictures) {
            rowWidth += picture.image.width() * Scale + gap;
            rowHeight = std::max(rowHeight, picture.image.height() * Scale);
        }
        width = std::max(width, rowWidth);
        height += rowHeight + gap;
    }
    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.setFont(QFont("Arial", 10));
    int y = gap;
    for (const Row& row : rows) {
        int x = labelWidth;
        int rowHeight = 0;
        painter.drawText(QRect(gap, y, labelWidth - gap, 20 * Scale), Qt::AlignVCenter, row.name);
        for (const Picture& picture : row.pictures) {
            painter.drawImage(x, y, Enlarged(picture.image));
            x += picture.image.width() * Scale + gap;
            rowHeight = std::max(rowHeight, picture.image.height() * Scale);
        }
        y += rowHeight + gap;
    }
    return sheet;
}

int Render(const QString& directory) {
    QDir().mkpath(directory);
    const std::vector<Row> rows{
        ButtonRow("button-text", qbText, 48),
        ButtonRow("button-close", qbClose, 20),
        ButtonRow("button-up", qbUp, 20),
        ButtonRow("button-down", qbDown, 20),
        ButtonRow("button-left", qbLeft, 20),
        ButtonRow("button-right", qbRight, 20),
        ComboRow(),
        PopupListRow(),
    };
    for (const Row& row : rows) {
        for (const Picture& picture : row.pictures) {
            if (!Enlarged(picture.image).save(directory + "/" + picture.name + ".png")) return 1;
        }
    }
    return Sheet(rows).save(directory + "/controls.png") ? 0 : 1;
}

}  // namespace
}  // namespace quenmark

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString directory = QString::fromLocal8Bit(argv[1]);
    const int controls = quenmark::Render(directory);
    const int windows = quenmark::RenderWindows(directory, QStringLiteral(QUENMARK_PROGRAM_DIRECTORY));
    return controls != 0 ? controls : windows;
}
