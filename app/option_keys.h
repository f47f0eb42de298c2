// The quick options: their menu titles and stored-setting keys, shared by the desktop menu and
// padloomctl run so that both read the same settings.
#pragma once

namespace padloom::options {

// Stored under fixed keys (the names of their menu items); the titles are display only.
inline constexpr char lockCursorKey[] = "shouldLock_mi";
inline constexpr char showWarningsKey[] = "shouldShowWarnings_mi";
inline constexpr char lockCursorTitle[] = "Lock Cursor to Main Display";
inline constexpr char showWarningsTitle[] = "Show Warnings";

// Stored under their menu titles: renaming one of these starts that option afresh.
inline constexpr char avoidCornersTitle[] = "Avoid Screen Corners";
inline constexpr char compactListTitle[] = "Compact Preset List";
inline constexpr char minecraftFixTitle[] = "Minecraft Fix";
inline constexpr char fullscreenFixTitle[] = "Full-Screen Fix";
inline constexpr char keyRepeatTitle[] = "Key Repeat";

// The check mark each option item shows before anything is stored (the first start).
inline constexpr bool lockCursorInitial = false;
inline constexpr bool showWarningsInitial = true;
inline constexpr bool avoidCornersInitial = false;
inline constexpr bool compactListInitial = false;
inline constexpr bool minecraftFixInitial = false;
inline constexpr bool fullscreenFixInitial = false;
inline constexpr bool keyRepeatInitial = false;

} // namespace padloom::options
