// Dragging files out of the list to other programs: a data object offering the file list
// (CF_HDROP) and a drop source, as Explorer and every program that takes files expect.
#pragma once
#include "platform/Handles.h"
#include <oleidl.h>
#include <string>
#include <vector>

namespace tessary {

// A data object holding the given full paths, in order, in the CF_HDROP format.
ComPtr<IDataObject> MakeFileDataObject(const std::vector<std::wstring>& paths);
// The paths a CF_HDROP data object holds (empty when it holds none).
std::vector<std::wstring> FilesInDataObject(IDataObject* data);
// Runs the drag of a data object (modal until the drop or cancel); allowedEffect is
// DROPEFFECT_COPY or DROPEFFECT_MOVE. Returns the effect the target reported (DROPEFFECT_NONE
// when refused or cancelled).
DWORD RunDrag(IDataObject* data, DWORD allowedEffect);

} // namespace tessary
