#include "main_window.h"

#include <QApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>

#include "control_number.h"
#include "glyphmill_session.h"
#include "link/link_settings.h"
#include "main_window_rules.h"
#include "menu_bar_texts.h"
#include "printer_resources.h"
#include "qt_text.h"
#include "resource_list_view.h"
#include "text_catalogue.h"
#include "user_prompts.h"
#include "window_commands.h"

namespace glyphmill {
namespace {

// The menu as the program carries it; the language file relabels it at once.
struct MenuEntry {
    int command;  // 0 for a separator
    const char16_t *label;
};
struct MenuDefinition {
    const char16_t *label;
    std::vector<MenuEntry> entries;
};

const std::vector<MenuDefinition> &builtInMenus() {
    static const std::vector<MenuDefinition> menus = {
        {u"文件(&F)", {{kCommandExit, u"退出(&X)"}}},
        {u"通讯(&C)", {{kCommandLinkSettings, u"通讯设置(&C)..."}}},
        {u"字体(&O)",
         {{kCommandBitmapFont, u"点阵字体生成(&B)..."},
          {kCommandFontDownload, u"字体下载(&F)..."},
          {kCommandDataFileDownload, u"编码文件下载(&C)..."}}},
        {u"图形(&G)", {{kCommandGraphicDownload, u"图形下载(&G)..."}}},
        {u"工具(&T)",
         {{kCommandShowResources, u"显示/刷新内部资源(&R)"},
          {kCommandFormat, u"设备格式化(&F)"},
          {kCommandDelete, u"文件删除(&D)"},
          {kCommandTestPrint, u"测试打印(&P)"}}},
        {u"帮助(&H)",
         {{kCommandLanguage, u"语言设置(&L)..."}, {0, nullptr}, {kCommandHelp, u"帮助文档(&F)"},
          {kCommandAbout, u"关于(&A)..."}}},
    };
    return menus;
}

// Shows the wait cursor for the life of a command.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

void forEachAction(const QList<QAction *> &actions, const std::function<void(QAction *)> &visit) {
    for (QAction *action : actions) {
        visit(action);
        if (action->menu()) forEachAction(action->menu()->actions(), visit);
    }
}

}  // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Glyphmill"));
    resize(620, 470);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    buildMenus();
    buildToolBar();
    statusBar()->setSizeGripEnabled(true);
    buildClientArea();

    MenuBarTexts texts(*menuBar(), [this](int command, const QString &text) { return makeAction(command, text); });
    if (!ApplyMenuTexts(GlyphmillSession::current().languageFile, texts)) ShowMessage(this, texts::kMenuTextsFailed);
    if (!printer_link::LinkSettings::current().startedWithParameters()) reduceMenus();
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { runCommand(kCommandHelp); });
    updateCommandStates();
}

QAction *MainWindow::makeAction(int command, const QString &text) {
    auto *action = new QAction(text, this);
    numbered(action, command);
    connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
    return action;
}

void MainWindow::buildMenus() {
    for (const MenuDefinition &definition : builtInMenus()) {
        QMenu *menu = menuBar()->addMenu(qtText(definition.label));
        for (const MenuEntry &entry : definition.entries) {
            if (entry.command == 0) menu->addSeparator();
            else menu->addAction(makeAction(entry.command, qtText(entry.label)));
        }
    }
    connect(menuBar(), &QMenuBar::hovered, this, [this] { updateCommandStates(); });
}

void MainWindow::buildToolBar() {
    toolBar_ = addToolBar(QStringLiteral("Glyphmill"));
    toolBar_->setObjectName(QStringLiteral("tasks"));
    toolBar_->setIconSize(QSize(24, 24));
    struct Button {
        int command;
        QStyle::StandardPixmap icon;
    };
    const Button buttons[] = {{kButtonLinkSettings, QStyle::SP_DriveNetIcon},
                              {0, {}},
                              {kButtonBitmapFont, QStyle::SP_FileDialogNewFolder},
                              {0, {}},
                              {kButtonShowResources, QStyle::SP_BrowserReload},
                              {kButtonFormat, QStyle::SP_DialogResetButton}};
    for (const Button &button : buttons) {
        if (button.command == 0) {
            toolBar_->addSeparator();
            continue;
        }
        QAction *action = makeAction(button.command, QString());
        action->setIcon(style()->standardIcon(button.icon));
        toolBar_->addAction(action);
    }
    applyToolTips();
}

void MainWindow::applyToolTips() {
    for (QAction *action : toolBar_->actions()) {
        if (action->isSeparator()) continue;
        const QString tip = qtText(ToolTipText(controlNumber(action), GlyphmillSession::current().language));
        action->setText(tip);
        action->setToolTip(tip);
        action->setStatusTip(tip);
    }
}

void MainWindow::buildClientArea() {
    splitter_ = new QSplitter(Qt::Horizontal, this);
    cover_ = new QWidget(splitter_);
    cover_->setProperty(kDialogNumberProperty, 130);
    cover_->setAutoFillBackground(true);
    QPalette grey = cover_->palette();
    grey.setColor(QPalette::Window, QColor(128, 128, 128));
    cover_->setPalette(grey);
    resources_ = new ResourceListView(splitter_);
    splitter_->addWidget(cover_);
    splitter_->addWidget(resources_);
    splitter_->setChildrenCollapsible(true);
    splitter_->setHandleWidth(0);
    splitter_->handle(1)->setEnabled(false);  // the bar does not move
    splitter_->setSizes({width(), 0});
    setCentralWidget(splitter_);
    if (!resources_->applyTexts()) ShowMessage(this, texts::kMissingTexts);
    connect(resources_, &ResourceListView::commandRequested, this, &MainWindow::runCommand);
    connect(resources_->list(), &QWidget::customContextMenuRequested, this, [this] { updateCommandStates(); });
}

bool MainWindow::isReduced() const { return menuBar()->actions().size() == 2; }

bool MainWindow::coverShown() const { return splitter_->sizes().value(0) > 0; }

QAction *MainWindow::action(int command) const {
    QAction *found = nullptr;
    forEachAction(menuBar()->actions(), [&](QAction *action) {
        if (!found && controlNumber(action) == command) found = action;
    });
    if (!found)
        for (QAction *action : toolBar_->actions())
            if (controlNumber(action) == command) found = action;
    return found;
}

void MainWindow::updateCommandStates() {
    const CommandState state{GlyphmillSession::current().print.cmdType, resources_->model().selectedCount()};
    auto update = [&state](QAction *action) {
        if (const int command = controlNumber(action)) action->setEnabled(CommandEnabled(command, state));
    };
    forEachAction(menuBar()->actions(), update);
    for (QAction *action : toolBar_->actions()) update(action);
}

void MainWindow::reduceMenus() {
    for (int removal = 0; removal < 4 && menuBar()->actions().size() > 2; ++removal) {
        QAction *item = menuBar()->actions().at(2);
        QMenu *menu = item->menu();
        menuBar()->removeAction(item);
        if (menu) menu->deleteLater();
    }
    toolBar_->hide();
}

void MainWindow::restoreMenus() {
    if (menuBar()->actions().size() != 2) return;
    MenuBarTexts texts(*menuBar(), [this](int command, const QString &text) { return makeAction(command, text); });
    RebuildMenus(GlyphmillSession::current().languageFile, texts);
    toolBar_->show();
    updateCommandStates();
}

void MainWindow::runCommand(int command) {
    updateCommandStates();
    if (QAction *source = action(command); source && !source->isEnabled()) return;
    switch (command) {
        case kCommandLinkSettings: linkSettings(true); break;
        case kButtonLinkSettings: linkSettings(false); break;
        case kCommandFontDownload: RunTrueTypeDownload(this); break;
        case kCommandDataFileDownload: RunDataFileDownload(this); break;
        case kCommandShowResources:
        case kButtonShowResources: showResources(); break;
        case kCommandFormat:
        case kButtonFormat: formatDevice(); break;
        case kCommandDelete: deleteFiles(); break;
        case kCommandTestPrint: testPrint(); break;
        case kCommandLanguage: changeLanguage(); break;
        case kCommandCommonOptions: RunCommonOptions(this); break;
        case kCommandHelp: openHelp(); break;
        case kCommandAbout: ShowAbout(this); break;
        case kCommandExit: close(); break;
        default: break;  // 158 and the commands of workflows this program does not have yet
    }
    updateCommandStates();
}

void MainWindow::linkSettings(bool fromMenu) {
    if (!RunLinkSettings(this, fromMenu)) return;
    if (fromMenu) restoreMenus();
}

void MainWindow::showResources() {
    WaitCursor wait;
    GlyphmillSession &session = GlyphmillSession::current();
    FileListing listing =
        ListPrinterFiles(printer_link::LinkSettings::current().port(), session.module(), session.print.memType);
    resources_->setRecords(std::move(listing.records));
    if (!listing.ok) {
        ShowMessage(this, texts::kListingFailed);
        return;
    }
    splitter_->setSizes({0, splitter_->width()});
}

void MainWindow::formatDevice() {
    if (!AskYesNo(this, texts::kAskFormat)) return;
    WaitCursor wait;
    GlyphmillSession &session = GlyphmillSession::current();
    if (!FormatStorage(printer_link::LinkSettings::current().port(), session.module(), session.print.memType)) {
        ShowMessage(this, texts::kFormatFailed);
        return;
    }
    resources_->clear();
}

void MainWindow::deleteFiles() {
    if (!AskYesNo(this, texts::kAskDelete)) return;
    const std::vector<FileRecord> chosen = resources_->model().selectedRecords();
    GlyphmillSession &session = GlyphmillSession::current();
    if (chosen.empty() || !DeleteFiles(printer_link::LinkSettings::current().port(), session.module(), chosen)) {
        ShowMessage(this, texts::kDeleteFailed);
        return;
    }
    resources_->removeSelected();
}

void MainWindow::testPrint() {
    const std::vector<FileRecord> chosen = resources_->model().selectedRecords();
    if (chosen.size() != 1) {
        ShowMessage(this, texts::kTestPrintFailed);
        return;
    }
    const FileRecord &record = chosen.front();
    if (std::u16string(kdx::fieldOf(record.type)) != u"Graphic" && !RunCommonOptions(this)) return;
    WaitCursor wait;
    GlyphmillSession &session = GlyphmillSession::current();
    const std::u16string memory(session.print.memType.begin(), session.print.memType.end());
    if (!PrintTestFile(printer_link::LinkSettings::current().port(), session.module(), record, memory,
                       session.print.testText))
        ShowMessage(this, texts::kTestPrintFailed);
}

void MainWindow::changeLanguage() {
    if (!RunLanguageDialog(this)) return;
    MenuBarTexts texts(*menuBar(), [this](int command, const QString &text) { return makeAction(command, text); });
    if (!ApplyMenuTexts(GlyphmillSession::current().languageFile, texts)) ShowMessage(this, texts::kLanguageMenuFailed);
    applyToolTips();
    if (!resources_->applyTexts()) ShowMessage(this, texts::kResourceListTextsFailed);
}

void MainWindow::openHelp() {
    const GlyphmillSession &session = GlyphmillSession::current();
    const std::filesystem::path page = session.programFolder / HelpFile(session.language);
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(page.string())));
}

}  // namespace glyphmill
