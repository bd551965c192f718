#pragma once

// The program: start-up in its fixed order, then the main pump; the program ends through
// ShutdownProgram. Returns only when it cannot start: 1 without a data folder or a display, 0
// when another copy already runs (that copy has been asked to restore and raise its window). The first screen is the
// police game, or the main menu when `startAtMenu` is set; both come from the ScreenFactory, which the caller fills in
// first.
int RunProgram(bool startAtMenu = false);

// The player's files a read-only copy of the program folder still holds, taken into the player's
// own folders where those lack them (see platform::AdoptFromProgramFolder).
void AdoptPlayerFilesLeftBesideProgram();

// Gives up the claim to be the one running copy (ShutdownProgram, at the end).
void ReleaseSingleInstance();

// Creates g_SongFont ("宋体", height -14, character set 134) and g_ArialFont ("Arial", bold,
// height -19), the two fonts every screen shares; each game sets the Arial font's height it
// draws with.
void CreateSharedFonts();
