#include "platform/desktop/process.h"

#include <cstdlib>
#include <cstring>

namespace {

void remember(ProcessChanges& changes, const char* name)
{
    for (const ProcessChanges::Variable& v : changes.variables)
        if (std::strcmp(v.name, name) == 0)
            return;
    const char* old = std::getenv(name);
    changes.variables.push_back({name, old != nullptr, old ? old : ""});
}

}  // namespace

void setVariable(ProcessChanges& changes, const char* name, const char* value, bool overwrite)
{
    remember(changes, name);
    setenv(name, value, overwrite);
}

void unsetVariable(ProcessChanges& changes, const char* name)
{
    remember(changes, name);
    unsetenv(name);
}

void undoChanges(ProcessChanges& changes)
{
    for (auto v = changes.variables.rbegin(); v != changes.variables.rend(); ++v) {
        if (v->was)
            setenv(v->name, v->value.c_str(), 1);
        else
            unsetenv(v->name);
    }
    changes = ProcessChanges{};
}
