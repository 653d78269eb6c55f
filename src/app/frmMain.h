// The main window: folder tree, thumbnail list, wallpaper preview and their buttons.
// Handlers are named after control and event; each subsystem implements its own handlers
// (catalog/, wallpaper/, commands/, viewer/) and keeps its working state in its part below.
#pragma once
#include "app/StartupRules.h"
#include "catalog/CatalogPart.h"
#include "catalog/FolderTree.h"
#include "commands/CommandsPart.h"
#include "platform/Controls.h"
#include "platform/Dpi.h"
#include "platform/DpiLayout.h"
#include "platform/Handles.h"
#include "platform/Surface.h"
#include "platform/Window.h"
#include "viewer/ImageViewer.h"
#include "viewer/cTrackMouse.h"
#include "wallpaper/WallpaperPart.h"
#include <bitset>
#include <initializer_list>
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
};

class frmMain final : public Window, private ZoomHost {
public:
    frmMain();
    ~frmMain() override;

    // Creates the window and its controls and runs Form_Load (which makes it visible).
    bool Load();
    bool IsLoaded() const { return hwnd() != nullptr; }
    // The program ends when this window is destroyed (not so for windows made by tests).
    bool quitOnDestroy = false;

    // ---- Controls (public: the subsystems and the tests work with them) ----
    HWND Frame2[3] = {};
    HWND picMonitor = nullptr, picWP = nullptr;
    HWND Picture1[2] = {};
    // Centered 0, Stretched 1, the hidden Tiled 2, Tiled 3, Fit 4, Fill 5, Span 6.
    static constexpr int kModeOptions = 7;
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
    StatusBar StatusBar1;
    ToolTips Tips;

    // Hidden working surfaces of the thumbnail and preview drawing.
    Surface picSrc, picThumb, PicWPLoad, picMonitorImage, picWPImage;
    UniqueImageList ImageList;
    HFONT ControlFont() const { return font_.get(); }
    // The DPI of the window's monitor, which its layout, fonts and artwork follow.
    UINT Dpi() const { return dpi_; }

    // The window-message hook, from Form_Load to Form_Unload.
    std::unique_ptr<cTrackMouse> SubClass_Form;

    CatalogPart catalog;
    WallpaperPart wallpaper;
    CommandsPart commands;
    ImageViewer viewer{*this};

    // ---- Setters that change a control from code and run its handler, as a user's action would ----
    void SetOptMode(int index);
    void SetChkOverlay(int index, int value);
    void SetOptListMode(int index);
    void SetChkUseCache(int value);
    void SetCboSort(int index);
    void SetSliderThumbSize(int value);
    void PressShowDesktop();

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
    // Called once the controls exist, before Form_Load: the catalog's own set-up of its controls.
    void Catalog_InitControls();
    void LoadFolder(const std::wstring& folderPath, bool force);
    void UpdateDirStatus();
    void UpdateCacheStatus();
    void ApplySort();
    void optListMode_Click(int index);
    void cboSort_Click();
    void sliderThumbSize_Change();
    void chkUseCache_Click();
    void FolderTreeview1_SelectionChanged();
    // A few times a second: reloads the shown folder once its changes have settled, keeping the
    // selection and the scroll position.
    void FolderWatch_Timer();
    void ReloadKeepingView();
    // "&My Pictures" (0), "D&elete Cache" (1), "&Recache" (2).
    void cmdDirBrowserFolder_Click(int index);

    // ---- Wallpaper ----
    // Called once the controls exist, before Form_Load: artwork, button pictures.
    void Wallpaper_InitControls();
    void ReadCurrentWallpaper();
    void ApplyWallpaper();
    void DrawPreview(const std::wstring& imagePath);
    // What DrawPreview of imagePath would show now: the image file as it is, the layout, the
    // overlays and the desktop colour.
    std::wstring PreviewKey(const std::wstring& imagePath) const;
    void DrawOverlay(const std::wstring& overlayFile);
    void optMode_Click(int index);
    void chkOverlay_Click(int index);
    void cmdShowDesktop_Click();
    void cmdSetWP_Click();
    void cmdIconButton_Click(int index);
    void picWP_Click();
    // "&Current Wallpaper" (3), "&No Wallpaper" (4).
    void cmdDirBrowserWallpaper_Click(int index);
    // The preview's surfaces and the monitor artwork at the window's DPI, keeping what they show.
    void Wallpaper_ApplyDpi();
    // The monitor chooser: a monitor picked in the list, and the monitors changing.
    void cboMonitor_Click();
    void Monitors_Changed();
    // The layout option selected at start-up: the recorded wallpaper's layout, or without one the
    // layout remembered in the settings.
    int StartupModeOption() const;
    // What transparent parts of a picture are put on in the thumbnail, the preview and the
    // wallpaper bitmap alike: the desktop colour (an opaque pixel word), so the desktop looks like
    // the preview.
    std::uint32_t PictureBackground() const;
    // Why a picture that is there cannot be made the wallpaper; None when it can.
    PictureProblem WallpaperSourceProblem(const std::wstring& path);
    // Draws the image at width x height (computed from the screen when either is below 1; they
    // receive the size used) and writes it as a BMP to targetPath unless that is empty. False
    // when the image cannot be loaded or the file cannot be written.
    bool ResampleToScreen(const std::wstring& sourcePath, bool proportional, int& width, int& height,
                          const std::wstring& targetPath);
    // Recent wallpapers: remembered after every apply, offered by the drop-down of "&Current
    // Wallpaper" and a right-click on the monitor (screen coordinates), restored in their layout.
    void RecordAppliedWallpaper(const RecentWallpaper& applied);
    void ShowRecentWallpapers(POINT screen);
    void RestoreRecentWallpaper(const RecentWallpaper& entry);
    // The layout the option buttons select.
    WallpaperMode SelectedWallpaperMode() const;
    // The screen the preview and the resample commands work for, in physical pixels.
    IntSize PreviewScreenSize() const;

    // ---- Shared by several subsystems: cmdDirBrowser(0..2) folders/cache, (3) current wallpaper, (4) none
    // ----
    void cmdDirBrowser_Click(int index);

    // ---- Selection and file commands ----
    // Called once the controls exist, before Form_Load: the context menu, drag and drop.
    void Commands_InitControls();
    // Handles the list's notifications; returns true when handled.
    bool ListViewPics_Notify(const NMHDR* hdr, LRESULT& result);
    void ListViewPics_ColumnClick(int column);
    void ListViewPics_KeyUp(int keyCode);
    // button: 1 left, 2 right, 4 middle; screen position of the mouse.
    void ListViewPics_MouseUp(int button, POINT screen);
    void ListViewPics_DblClick();
    void ListViewPics_OLEStartDrag();
    // The context menu at a screen position without the hidden items, and the chosen item's command.
    void ShowFileMenu(POINT screen, HWND owner, std::initializer_list<FileMenuItem> hidden = {});
    // owner: the window the menu was shown over, which owns what the command opens.
    void mFileRightClick_Command(int id, HWND owner = nullptr);
    // The conversion dialog on path, owned by owner; a file it writes into the folder shown
    // reloads that folder.
    void ConvertImage(const std::wstring& path, HWND owner);
    void DeleteSelectedImages();
    void RenameCurrentImage();
    // The full path of list entry `index`, and the current entry (-1 when there is none).
    std::wstring ItemPath(int index) const;
    int CurrentItem() const;

    // ---- Viewer ----
    void ViewImage(const std::wstring& ImagePath, int ViewWidth, int ViewHeight, bool CenterOnMonitor,
                   bool FitWindow) {
        viewer.ViewImage(ImagePath, ViewWidth, ViewHeight, CenterOnMonitor, FitWindow);
    }
    void UnloadZoom() { viewer.UnloadZoom(); }

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    // ZoomHost.
    HWND MainWindow() const override { return hwnd(); }
    IntSize WorkArea() const override;
    void ShowViewerMenu(POINT screen, HWND owner, const std::wstring& imagePath) override;

    void CreateControls();
    // One folder load, as LoadFolder describes it, without what follows it.
    void LoadFolderOnce(const std::wstring& folderPath, bool force);
    void OnCommand(int id, int code, HWND ctl);
    void ApplyDesignedWindowSize();
    void RestoreWindowRect(int defaultWidthPx, int defaultHeightPx);
    void SaveSettings();
    void UpdateClock();
    void PaintMonitorEdge();
    // Every control at its designed place scaled to dpi_.
    void ApplyDpiLayout();
    // The Filename column as wide as the longest name, never narrower than designed.
    void FitNameColumn();
    int Scaled(int designed) const { return ScaleToDpi(designed, dpi_); }

    UniqueFont font_, treeFont_;
    // Keys whose key-down went to the thumbnail list, until their key-up.
    std::bitset<256> listKeysDown_;
    HWND focusOnDeactivate_ = nullptr;
    // The window was closed while a folder load ran: it closes when the load has stopped.
    bool closeAfterLoad_ = false;
    UINT dpi_ = kDefaultDpi;
    DpiLayout layout_;
};

// The one main window of the run.
frmMain& MainForm();

} // namespace tessary
