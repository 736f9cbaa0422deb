#include "app/Main.h"
#include "app/MainForm.h"
#include "shell/list/ShellList.h"

#include <QAction>
#include <array>

namespace quarn {

namespace {

// The style each item's tag stands for: Tiles, Icons, List, Details.
constexpr std::array<TViewStyle, 4> StyleOfTag = {TViewStyle::vsIcon, TViewStyle::vsSmallIcon,
                                                  TViewStyle::vsList, TViewStyle::vsReport};

void CheckItemOfStyle(TViewStyle style, const std::array<QAction*, 4>& items) {
    for (std::size_t tag = 0; tag < StyleOfTag.size(); ++tag) {
        if (StyleOfTag[tag] == style) {
            items[tag]->setChecked(true);
        }
    }
}

} // namespace

void TfMain::pmTiles1Click(const QAction& sender) {
    bool isNumber = false;
    const int tag = sender.data().toInt(&isNumber);
    if (isNumber && tag >= 0 && tag < static_cast<int>(StyleOfTag.size())) {
        scsList->SetViewStyle(StyleOfTag[static_cast<std::size_t>(tag)]);
    }
}

void TfMain::pmViewPopup() {
    const MainForm& f = *form_;
    CheckItemOfStyle(scsList->ViewStyle(), {f.pmTiles1, f.pmIcons1, f.pmList1, f.pmDetails1});
}

void TfMain::View1Click() {
    const MainForm& f = *form_;
    CheckItemOfStyle(scsList->ViewStyle(), {f.Tiles1, f.Icons1, f.List1, f.Details1});
}

} // namespace quarn
