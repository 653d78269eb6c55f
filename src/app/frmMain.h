// The main window: folder tree, thumbnail list, wallpaper preview and their buttons. The window
// creates its controls and hands each subsystem the ones it works with (the catalog, the wallpaper
// preview, the list commands, the viewer); it does start-up, settings, layout and routing, and
// answers the few requests the subsystems make of it. Handlers keep the names of control and
// event and forward to the subsystem that owns them.
#pragma once
#include "app/StartupRules.h"
#include "catalog/CatalogView.h"
#include "catalog/FolderTree.h"
#include "commands/FileCommands.h"
#include "core/SharedState.h"
#include "platform/CommandTable.h"
#include "platform/Controls.h"
#include "platform/Dpi.h"
#include "platform/DpiLayout.h"
#include "platform/Handles.h"
#include "platform/Window.h"
#include "viewer/ImageViewer.h"
#include "viewer/cTrackMouse.h"
#include "wallpaper/MonitorChooser.h"
#include "wallpaper/WallpaperPreview.h"
#include <bitset>
#include <memory>
#include <string>

namespace tessary {

enum ControlId : int {
    IDC_FRAME2_0 = 100,
    IDC_FRAME2_1,
    IDC_FRAME2_2,
    IDC_PICMONITOR,
    IDC_PICWP,
    IDC_PICTURE1_0,
    IDC_PICTURE1_1,
    IDC_OPTMODE_0, // optMode(0..6)
    IDC_OPTMODE_6 = IDC_OPTMODE_0 + 6,
    IDC_CHKOVERLAY_0,
    IDC_CHKOVERLAY_1,
    IDC_PICTURE3,
    IDC_CMDDIRBROWSER_0, // cmdDirBrowser(0..4)
    IDC_CMDDIRBROWSER_4 = IDC_CMDDIRBROWSER_0 + 4,
    IDC_CMDSHOWDESKTOP,
    IDC_CMDSETWP,
    IDC_FOLDERTREE,
    IDC_PICPREVIEWBUTTONHOLDER,
    IDC_CHKUSECACHE,
    IDC_LISTVIEWPICS,
    IDC_OPTLISTMODE_0,
    IDC_OPTLISTMODE_1,
    IDC_LABEL1,
    IDC_SLIDERTHUMBSIZE,
    IDC_PICBUTTONBORDER,
    IDC_CMDICONBUTTON_0,
    IDC_CMDICONBUTTON_1,
    IDC_CBOSORT,
    IDC_STATUSBAR1,
    IDC_CBOMONITOR,
    IDM_FIRST_MENU_ITEM = kFirstFileMenuId, // the list's context menu items
    IDM_LAST_MENU_ITEM = kLastFileMenuId,
};

class frmMain final : public Window,
                      private CatalogHost,
                      private WallpaperHost,
                      private FileCommandsHost,
                      private ZoomHost {
public:
    frmMain();
    ~frmMain() override;

    // Creates the window and its controls and runs Form_Load (which makes it visible).
    bool Load();
    bool IsLoaded() const { return hwnd() != nullptr; }
    // The program ends when this window is destroyed (not so for windows made by tests).
    bool quitOnDestroy = false;
    // The DPI of the window's monitor, which its layout, fonts and artwork follow.
    UINT Dpi() const override { return dpi_; }

    // ---- Setters that change a control from code and run its handler, as a user's action would ----
    void SetOptMode(int index) { wallpaper_.SetOptMode(index); }
    void SetChkOverlay(int index, int value) { wallpaper_.SetChkOverlay(index, value); }
    void SetOptListMode(int index) { catalog_.SetOptListMode(index); }
    void SetChkUseCache(int value) { catalog_.SetChkUseCache(value); }
    void SetCboSort(int index) { catalog_.SetCboSort(index); }
    void SetSliderThumbSize(int value) { catalog_.SetSliderThumbSize(value); }
    void PressShowDesktop() { cmdShowDesktop_Click(); }

    // ---- Application shell ----
    void Form_Load();
    void Form_Unload();
    void Form_Resize();
    void Form_KeyDown(int keyCode, int shift);
    void Form_KeyUp(int keyCode, int shift);
    void SubClass_Form_WindowPosChanging(WPARAM wParam, LPARAM lParam);
    // The window moved to a monitor of another DPI (or the DPI changed): fonts, controls and
    // artwork at the new DPI, then the suggested window rectangle (none: the current one).
    void Form_DpiChanged(UINT dpi, const RECT* suggested);
    // The window state as the settings see it: 0 normal, 1 minimised, 2 maximised.
    int WindowState() const;

    // ---- Image catalog ----
    void LoadFolder(const std::wstring& folderPath, bool force) { catalog_.LoadFolder(folderPath, force); }
    void UpdateDirStatus() override { catalog_.UpdateDirStatus(); }
    void UpdateCacheStatus() { catalog_.UpdateCacheStatus(); }
    void ApplySort() { catalog_.ApplySort(); }
    void optListMode_Click(int index) { catalog_.optListMode_Click(index); }
    void cboSort_Click() { catalog_.cboSort_Click(); }
    void sliderThumbSize_Change() { catalog_.sliderThumbSize_Change(); }
    void chkUseCache_Click() { catalog_.chkUseCache_Click(); }
    void FolderTreeview1_SelectionChanged() { catalog_.FolderTreeview1_SelectionChanged(); }
    void FolderWatch_Timer() { catalog_.FolderWatch_Timer(); }
    void cmdDirBrowserFolder_Click(int index) { catalog_.cmdDirBrowserFolder_Click(index); }

    // ---- Wallpaper ----
    void ReadCurrentWallpaper() { wallpaper_.ReadCurrentWallpaper(); }
    // The current image as the wallpaper.
    void ApplyWallpaper() { wallpaper_.ApplyWallpaper(state_.CurrentImagePath); }
    void DrawPreview(const std::wstring& imagePath) override { wallpaper_.DrawPreview(imagePath); }
    void DrawOverlay(const std::wstring& overlayFile) { wallpaper_.DrawOverlay(overlayFile); }
    void optMode_Click(int index) { wallpaper_.optMode_Click(index); }
    void chkOverlay_Click(int index) { wallpaper_.chkOverlay_Click(index); }
    void cmdShowDesktop_Click() { wallpaper_.cmdShowDesktop_Click(); }
    void cmdSetWP_Click() { ApplyWallpaper(); }
    void cmdIconButton_Click(int index);
    void picWP_Click() { cmdSetWP_Click(); }
    void cmdDirBrowserWallpaper_Click(int index) { wallpaper_.cmdDirBrowserWallpaper_Click(index); }
    void cboMonitor_Click() { wallpaper_.cboMonitor_Click(); }
    void Monitors_Changed() { wallpaper_.Monitors_Changed(); }
    bool ResampleToScreen(const std::wstring& sourcePath, bool proportional, int& width, int& height,
                          const std::wstring& targetPath) {
        return wallpaper_.ResampleToScreen(sourcePath, proportional, width, height, targetPath);
    }
    WallpaperMode SelectedWallpaperMode() const { return wallpaper_.SelectedWallpaperMode(); }
    // The recent wallpapers offered at a screen position.
    void ShowRecentWallpapers(POINT screen) { wallpaper_.ShowRecentWallpapers(screen); }

    // cmdDirBrowser(0..2) folders and cache, (3) current wallpaper, (4) none.
    void cmdDirBrowser_Click(int index);

    // ---- Selection and file commands ----
    void ListViewPics_ColumnClick(int column) { commands_.ListViewPics_ColumnClick(column); }
    void ListViewPics_KeyUp(int keyCode) { commands_.ListViewPics_KeyUp(keyCode); }
    void ListViewPics_MouseUp(int button, POINT screen) { commands_.ListViewPics_MouseUp(button, screen); }
    void ListViewPics_DblClick() { commands_.ListViewPics_DblClick(); }
    void ListViewPics_OLEStartDrag() { commands_.ListViewPics_OLEStartDrag(); }
    // The context menu on the current image at a screen position.
    void ShowFileMenu(POINT screen, HWND owner) {
        commands_.ShowFileMenu(screen, owner, state_.CurrentImagePath);
    }
    void mFileRightClick_Command(int id, HWND owner = nullptr) {
        commands_.mFileRightClick_Command(id, state_.CurrentImagePath, owner);
    }
    // The conversion dialog on path, owned by owner; a file it writes into the folder shown
    // reloads that folder.
    void ConvertImage(const std::wstring& path, HWND owner) override;
    void DeleteSelectedImages() { commands_.DeleteSelectedImages(); }
    void RenameCurrentImage() { commands_.RenameImage(state_.CurrentImagePath); }

    // ---- Viewer ----
    void ViewImage(const std::wstring& ImagePath, int ViewWidth, int ViewHeight, bool CenterOnMonitor,
                   bool FitWindow) {
        viewer_.ViewImage(ImagePath, ViewWidth, ViewHeight, CenterOnMonitor, FitWindow);
    }
    void UnloadZoom() { viewer_.UnloadZoom(); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // Tests reach the controls and the subsystems through this (tests/win/support).
    friend struct MainWindowProbe;

    void CreateControls();
    void RouteCommands();
    void ApplyDesignedWindowSize();
    void RestoreWindowRect(int defaultWidthPx, int defaultHeightPx);
    void SaveSettings();
    void UpdateClock();
    // Every control at its designed place scaled to dpi_.
    void ApplyDpiLayout();
    int Scaled(int designed) const { return ScaleToDpi(designed, dpi_); }

    // CatalogHost, WallpaperHost, FileCommandsHost, ZoomHost.
    HWND MainWindow() const override { return hwnd(); }
    std::uint32_t PictureBackground() const override { return wallpaper_.PictureBackground(); }
    void ReloadFolder() override { catalog_.ReloadFolder(); }
    void ReloadFolderSelecting(const std::wstring& name) override { catalog_.ReloadKeepingView(name); }
    void SelectSort(int sortBy) override { SetCboSort(sortBy); }
    void ViewImage(const std::wstring& imagePath) override { ViewImage(imagePath, 0, 0, true, true); }
    void ApplyWallpaper(const std::wstring& imagePath) override { wallpaper_.ApplyWallpaper(imagePath); }
    void ResampleAndApply(const std::wstring& imagePath, bool proportional) override {
        wallpaper_.ResampleAndApply(imagePath, proportional);
    }
    IntSize WorkArea() const override { return {state_.screen.WorkAreaWidth, state_.screen.WorkAreaHeight}; }
    void ShowViewerMenu(POINT screen, HWND owner, const std::wstring& imagePath) override;

    // ---- Controls ----
    HWND Frame2[3] = {};
    HWND picMonitor = nullptr, picWP = nullptr;
    HWND Picture1[2] = {};
    HWND optMode[kModeOptions] = {};
    HWND chkOverlay[2] = {};
    HWND Picture3 = nullptr;
    HWND cmdDirBrowser[5] = {};
    HWND cmdShowDesktop = nullptr, cmdSetWP = nullptr;
    FolderTree FolderTreeview1;
    HWND picPreviewButtonHolder = nullptr;
    HWND chkUseCache = nullptr;
    HWND ListViewPics = nullptr;
    HWND optListMode[2] = {};
    HWND Label1 = nullptr;
    HWND sliderThumbSize = nullptr;
    HWND picButtonBorder = nullptr;
    HWND cmdIconButton[2] = {};
    HWND cboSort = nullptr;
    MonitorChooser cboMonitor;
    StatusBar StatusBar1;
    ToolTips Tips;
    UniqueFont font_, treeFont_;
    CommandTable commandTable_;
    // Keys whose key-down went to the thumbnail list, until their key-up.
    std::bitset<256> listKeysDown_;
    HWND focusOnDeactivate_ = nullptr;
    UINT dpi_ = kDefaultDpi;
    DpiLayout layout_;

    // ---- Shared state and the subsystems ----
    SharedState state_;
    CatalogView catalog_{state_, *this};
    WallpaperPreview wallpaper_{state_, *this};
    FileCommands commands_{state_, *this};
    ImageViewer viewer_{*this};
    // The window-message hook, from Form_Load to Form_Unload.
    std::unique_ptr<cTrackMouse> SubClass_Form;
};

} // namespace tessary
