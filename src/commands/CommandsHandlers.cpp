// The main window's list events, context menu and file commands.
#include "app/frmMain.h"

namespace tessary {

void frmMain::Commands_InitControls() {}

bool frmMain::ListViewPics_Notify(const NMHDR*, LRESULT&) { return false; }
void frmMain::mFileRightClick_Command(int) {}

} // namespace tessary
