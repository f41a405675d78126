// The interface of Tiles.dll, the demo's shared library: it draws the tile
// pattern of the demo window and registers itself when setup installs it.
#pragma once

#include <windows.h>

// Fills `area` of `dc` with a pattern of coloured tiles.
using DrawTilesFunction = void(WINAPI*)(HDC dc, const RECT* area);
#define TILES_DRAW_EXPORT "DrawTiles"

// Where the library notes that it is registered, below HKEY_LOCAL_MACHINE.
#define TILES_REGISTRY_KEY "Software\\Tessel\\Demo Tiles"
