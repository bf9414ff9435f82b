#pragma once
// Opening the board dialog from the main window, after the chip information
// was read without error.

#include <QString>

class CMainFrame;

// Builds the dialog, fills it from `chipInfo`, the answer of the read that
// just ended, and runs it modally.  The dialog object goes once its last
// transfer has reported.
void RunMotherBoardDialog(CMainFrame* main, const QString& chipInfo);
