// Working state of the main window that belongs to this subsystem (surfaces, menus, caches).
#pragma once

namespace tessary {

struct CatalogPart {};

} // namespace tessary
