#pragma once

namespace tarvin {

class TfrmMain;

// Adds "E&xport..." and "&Import..." to the File menu, after "Update To...":
// the open translation out to XLIFF 1.2 or PO for CAT tools and translation
// platforms, and their targets back into it.
void InstallExchangeActions(TfrmMain& window);

} // namespace tarvin
