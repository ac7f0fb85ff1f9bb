// The main window's menu bar as the language-file lookups see it: top-level items by
// position, entries by command number, and new pop-ups whose actions the window creates.
#pragma once

#include <QString>
#include <functional>

#include "language_file.h"

class QAction;
class QMenuBar;

namespace glyphmill {

class MenuBarTexts : public MenuTextTarget {
public:
    using ActionFactory = std::function<QAction *(int command, const QString &text)>;
    MenuBarTexts(QMenuBar &bar, ActionFactory makeAction) : bar_(bar), makeAction_(std::move(makeAction)) {}

    int topLevelCount() const override;
    void setTopLevelText(int position, const std::u16string &text) override;
    int entryCount(int position) const override;
    void setEntryText(int position, int command, const std::u16string &text) override;
    void insertPopup(int position, const std::u16string &text) override;
    void appendEntry(int position, int command, const std::u16string &text) override;
    void insertSeparator(int position, int index) override;

private:
    QAction *topLevel(int position) const;
    QMenuBar &bar_;
    ActionFactory makeAction_;
};

}  // namespace glyphmill
