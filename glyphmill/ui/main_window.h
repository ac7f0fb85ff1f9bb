// Glyphmill's only top-level window: menu bar, tool bar, status bar, and the fixed splitter
// with the grey pane over the resource list. It starts reduced (two menus, no tool bar) until
// the link settings are confirmed from the menu, unless a command line named the printer.
#pragma once

#include <QMainWindow>

class QSplitter;
class QToolBar;

namespace glyphmill {

class ResourceListView;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);

    // Runs a command of the command table.
    void runCommand(int command);

    bool isReduced() const;
    // Whether the grey pane still covers the client area.
    bool coverShown() const;
    ResourceListView *resources() const { return resources_; }
    QToolBar *toolBar() const { return toolBar_; }
    // The action of a command in the menus or on the tool bar, or null.
    QAction *action(int command) const;
    // Enables each command by the current state.
    void updateCommandStates();

private:
    QAction *makeAction(int command, const QString &text);
    void buildMenus();
    void buildToolBar();
    void buildClientArea();
    void reduceMenus();
    void restoreMenus();
    void applyToolTips();

    void linkSettings(bool fromMenu);
    void showResources();
    void formatDevice();
    void deleteFiles();
    void testPrint();
    void changeLanguage();
    void openHelp();

    QToolBar *toolBar_ = nullptr;
    QSplitter *splitter_ = nullptr;
    QWidget *cover_ = nullptr;
    ResourceListView *resources_ = nullptr;
};

}  // namespace glyphmill
