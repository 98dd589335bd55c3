// Where the application hands the lower folders the functions they call back.
#pragma once

// Sets every slot once: the command mnemonics for the text decoration, the status bar's
// source of facts and the view's change listener.
void ConnectSubsystems();
