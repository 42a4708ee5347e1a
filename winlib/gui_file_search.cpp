// The search order of the GUI definition file.
#include "winlib/gui_file_search.h"

#include "foundation/array.h"
#include "winlib/application_name.h"

namespace winlib {

namespace {

bool isAbsolute(const vek::STRING& name) {
    const std::size_t length = name.getLength();
    if (length >= 2 && name[1] == ':')
        return true;
    return length >= 1 && (name[0] == '\\' || name[0] == '/');
}

}  // namespace

vek::STRING resolveBesideProgram(const vek::STRING& name, const vek::STRING& programPath) {
    if (isAbsolute(name))
        return name;
    return directoryOfPath(programPath) + name;
}

vek::STRING findGuiFile(const vek::STRING& applicationName, const vek::STRING& language,
                        const vek::STRING& programPath, const ExistenceTest& exists) {
    vek::Array<vek::STRING> names;
    if (!language.isEmpty())
        names.append(applicationName + "." + language + ".gui");
    names.append(applicationName + ".gui");
    for (const vek::STRING& name : names) {
        if (exists(name))
            return name;
        const vek::STRING beside = resolveBesideProgram(name, programPath);
        if (exists(beside))
            return beside;
    }
    return vek::STRING();
}

}  // namespace winlib
