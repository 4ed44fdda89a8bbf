// Where Qt may load code and configuration from in our programs.
#pragma once

namespace kv {

// Call before the QApplication is made. Qt then loads plugins only from its own plugin folder
// and from the folders of QT_PLUGIN_PATH and QT_QPA_PLATFORM_PLUGIN_PATH that only root and
// the running user can change; never from the program's own folder, whoever may write there.
// Its qt.conf is the one built into the program. Folders of XDG_DATA_DIRS (icon themes) that
// others can change are dropped, and root also drops the toolkit variables that name modules
// to load (GTK_MODULES and the like), which sudo -E would pass on.
void trustOnlyQtSourcesOthersCannotChange();

}  // namespace kv
