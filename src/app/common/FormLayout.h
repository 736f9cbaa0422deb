#pragma once

#include <QMargins>
#include <QSize>
#include <initializer_list>

class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace quarn {

class DesignScale;
class TKVBEllipsisLabel;

// What the forms of both programs are built from. Their measures are the design's pixels
// (platform/gui/DesignScale.h) in the font in use: a helper scales its own measures by the
// font of the widget it makes, and takes the measures it is given already scaled.

constexpr QSize DesignButtonSize{75, 23};

QLabel* MakeLabel(const char* name, const char* text, QWidget* parent);
// A button of the design size in the parent's font that is not a dialog's automatic default.
QPushButton* MakeButton(const char* name, const char* text, QWidget* parent);
// A button of the design size that Enter presses while it has the focus, as in a dialog.
QPushButton* MakeDialogButton(const char* name, const char* text, QWidget* parent);
// A bar from 0 to 100 without text.
QProgressBar* MakeBar(const char* name, int height, QWidget* parent);
// A file name ending in "..." when it is too long: it takes the width its column has.
TKVBEllipsisLabel* MakeFileNameLabel(const char* name, QWidget* parent);

// Two columns in a box whose contents start at the left margin: captions on the left, values
// on the right taking the rest, starting valueColumn pixels from the box's left edge unless a
// caption is wider.
QGridLayout* MakeCaptionGrid(const DesignScale& px, const QMargins& margins, int valueColumn);
QHBoxLayout* CentredRow(std::initializer_list<QWidget*> widgets, int spacing);
// Margins of a box's layout that put its contents at the given margins from the box's edges:
// the box's frame already takes some of the room.
QMargins InsideFrame(const QGroupBox* box, const QMargins& margins);
// The label keeps the width of the widest of the texts it takes.
void ReserveWidth(QLabel* label, std::initializer_list<const char*> texts);

// The box that shows the file being worked on: lType ("Encrypting:", "Decrypting:",
// "Wiping:"), lInFile, lNew ("New File:", hidden until an output is named, keeping its room),
// lOutFile and the file's bar. The names stay in one column whatever the caption beside them.
struct FileProgressBox {
    FileProgressBox(const char* boxName, const char* barName, QWidget* parent);

    QGroupBox* Box = nullptr;
    QLabel* lType = nullptr;
    TKVBEllipsisLabel* lInFile = nullptr;
    QLabel* lNew = nullptr;
    TKVBEllipsisLabel* lOutFile = nullptr;
    QProgressBar* Bar = nullptr;
};

} // namespace quarn
