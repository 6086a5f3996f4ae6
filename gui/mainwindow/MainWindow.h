#pragma once
// The main window: fixed in size (510 × 305 pixels, centred on the screen), with
// the caption "Tarvo v1.65", the menu "&Menu", a flat toolbar of seven 45 × 48
// buttons, and the banner. Every command goes to the controller except help and the
// tools button, which the window handles itself. The toolbar's image set follows
// FLAG_16_COLOUR_TOOLBAR as it was when the window was made.

#include "base/Texts.h"
#include "gui/commands/CommandController.h"

#include <QMap>
#include <QMainWindow>
#include <QRect>
#include <QSize>

class BannerView;
class QAction;
class QMenu;
class QToolBar;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kWidth = 510;
    static constexpr int kHeight = 305;
    static constexpr int kMinimumClientHeight = 262;

    explicit MainWindow(CommandController& controller, QWidget* parent = nullptr);

    BannerView* Banner() const { return m_banner; }
    QMenu* ToolsMenu() const { return m_toolsMenu; }

    // Enables, disables and checks every command as the controller's rules say.
    void UpdateCommandStates();

    // Where the tools pop-up opens: beside the tools button, on its right, 20
    // pixels below its top (screen coordinates).
    QPoint ToolsMenuPosition() const;

    void OnTools();
    // Opens the manual in the desktop's PDF viewer; a missing manual or viewer is
    // told, naming the file and what to install.
    void OnHelp();
    // The last receipt whole, with the findings of the block check after it.
    void ShowWholeReceipt();

    // The window rectangle centred on a screen of the given size (integer halves).
    static QRect CenteredRect(QSize screen);
    // How many pixels the window grows at the top and at the bottom each so that
    // its client area is at least 261 pixels high.
    static int GrowthPerSide(int clientHeight);
    // The manual: "Návod.pdf" in the program's directory, else in the installed
    // documentation directory, else the program's directory's path anyway (and
    // help says it is missing).
    static QString HelpManualPath(const QString& programDirectory, const QString& documentationDirectory);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Closing the main window ends the program, every other window with it.
    void closeEvent(QCloseEvent* event) override;

private:
    // The steps of making the window, in this order.
    void SetUpFrame();
    void CreateActions();
    void BuildMenu();
    void BuildToolBar(bool sixteenColours);
    void BuildBanner();
    void PlaceOnScreen();

    QAction* AddAction(CommandId command, const UserText& text);
    QAction* Action(CommandId command) const { return m_actions.value(command); }
    void TellNoPdfViewer(const QString& manual);
    void ApplySizeRule();
    int ClientHeight() const;

    CommandController& m_controller;
    BannerView* m_banner;
    QMenu* m_toolsMenu;
    QToolBar* m_toolBar;
    QMap<CommandId, QAction*> m_actions;
    bool m_applyingSizeRule = false;
    bool m_framed = false;
};
