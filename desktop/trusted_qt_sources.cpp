#include "desktop/trusted_qt_sources.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QStringList>
#include <climits>
#include <cstdlib>
#include <string>

#include "desktop/trusted_folder.h"

namespace kv {
namespace {

const char kPluginPath[] = "QT_PLUGIN_PATH";

// Module lists and module folders of the GTK that a platform theme may bring in.
const char* const kModuleVariables[] = {
    "GTK_MODULES",       "GTK3_MODULES",           "GTK_PATH",
    "GIO_EXTRA_MODULES", "GDK_PIXBUF_MODULE_FILE", "GDK_PIXBUF_MODULEDIR"};

QStringList trustedFolders(const char* variable)
{
    QStringList kept;
    const QStringList folders = qEnvironmentVariable(variable).split(u':', Qt::SkipEmptyParts);
    for (const QString& folder : folders)
        if (onlyTrustedCanChange(folder.toStdString(), geteuid()))
            kept << folder;
    return kept;
}

void setOrUnset(const char* variable, const QStringList& folders)
{
    if (folders.isEmpty())
        unsetenv(variable);
    else
        setenv(variable, folders.join(u':').toLocal8Bit().constData(), 1);
}

std::string ownFolder()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return "/";
    const std::string program(path, static_cast<size_t>(length));
    return program.substr(0, program.rfind('/'));
}

QStringList trustedPluginFolders;

// The programs we start find the trusted folders only.
void afterApplicationMade()
{
    setOrUnset(kPluginPath, trustedPluginFolders);
}

}  // namespace

void trustOnlyQtSourcesOthersCannotChange()
{
    trustedPluginFolders = trustedFolders(kPluginPath);
    // Qt adds the program's folder and QT_PLUGIN_PATH to its plugin folders once the
    // application is made, but replays what was taken away before: so both go into the list
    // Qt knows now, and then the list is set to the trusted folders alone.
    const std::string everything = ownFolder() + ":" + qEnvironmentVariable(kPluginPath).toStdString();
    setenv(kPluginPath, everything.c_str(), 1);
    QCoreApplication::libraryPaths();
    QCoreApplication::setLibraryPaths(QStringList{QLibraryInfo::path(QLibraryInfo::PluginsPath)} +
                                      trustedPluginFolders);
    qAddPreRoutine(afterApplicationMade);

    const QStringList platformFolder = trustedFolders("QT_QPA_PLATFORM_PLUGIN_PATH");
    setOrUnset("QT_QPA_PLATFORM_PLUGIN_PATH", platformFolder.size() == 1 ? platformFolder : QStringList());
    if (qEnvironmentVariableIsSet("XDG_DATA_DIRS"))
        setOrUnset("XDG_DATA_DIRS", trustedFolders("XDG_DATA_DIRS"));
    if (geteuid() == 0)
        for (const char* variable : kModuleVariables)
            unsetenv(variable);
}

}  // namespace kv
