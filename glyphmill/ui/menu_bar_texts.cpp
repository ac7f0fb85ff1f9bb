#include "menu_bar_texts.h"

#include <QMenu>
#include <QMenuBar>

#include "control_number.h"
#include "qt_text.h"

namespace glyphmill {

QAction *MenuBarTexts::topLevel(int position) const {
    const QList<QAction *> items = bar_.actions();
    return position >= 0 && position < items.size() ? items[position] : nullptr;
}

int MenuBarTexts::topLevelCount() const { return static_cast<int>(bar_.actions().size()); }

void MenuBarTexts::setTopLevelText(int position, const std::u16string &text) {
    if (QAction *item = topLevel(position)) item->setText(qtText(text));
}

int MenuBarTexts::entryCount(int position) const {
    QAction *item = topLevel(position);
    return item && item->menu() ? static_cast<int>(item->menu()->actions().size()) : 0;
}

void MenuBarTexts::setEntryText(int position, int command, const std::u16string &text) {
    QAction *item = topLevel(position);
    if (!item || !item->menu()) return;
    for (QAction *entry : item->menu()->actions())
        if (controlNumber(entry) == command) entry->setText(qtText(text));
}

void MenuBarTexts::insertPopup(int position, const std::u16string &text) {
    auto *menu = new QMenu(qtText(text), &bar_);
    if (QAction *before = topLevel(position)) bar_.insertMenu(before, menu);
    else bar_.addMenu(menu);
}

void MenuBarTexts::appendEntry(int position, int command, const std::u16string &text) {
    QAction *item = topLevel(position);
    if (!item || !item->menu()) return;
    item->menu()->addAction(makeAction_(command, qtText(text)));
}

void MenuBarTexts::insertSeparator(int position, int index) {
    QAction *item = topLevel(position);
    if (!item || !item->menu()) return;
    const QList<QAction *> entries = item->menu()->actions();
    if (index >= 0 && index < entries.size()) item->menu()->insertSeparator(entries[index]);
    else item->menu()->addSeparator();
}

}  // namespace glyphmill
