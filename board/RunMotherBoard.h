#pragma once
// Opening the board dialog from the main window, after the chip information
// was read without error.

class CMainFrame;

// Builds the dialog, fills it from main->ChipInfoOutput() and runs it
// modally.  The dialog object goes once its last transfer has reported.
void RunMotherBoardDialog(CMainFrame* main);
