#include "platform/desktop/wayland.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <wayland-client.h>

namespace {

void onGlobal(void* seat, wl_registry*, uint32_t, const char* interface, uint32_t)
{
    if (std::strcmp(interface, "wl_seat") == 0)
        *static_cast<bool*>(seat) = true;
}

void onGlobalRemove(void*, wl_registry*, uint32_t) {}

}  // namespace

bool watchWayland(DisplayWatch& watch, std::string& error)
{
    watch = DisplayWatch{};
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (!name || !*name)
        name = "wayland-0";  // what the client library takes then
    const std::string display = std::string("the Wayland display \"") + name + "\"";
    // The client library would print its own line about this.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (name[0] != '/' && (!runtime || !*runtime)) {
        error = "cannot open " + display + ": XDG_RUNTIME_DIR is not set";
        return false;
    }
    const std::string path = name[0] == '/' ? name : std::string(runtime) + "/" + name;
    if (path.size() >= sizeof watch.server.sun_path) {
        error = "cannot open " + display + ": the path " + path + " is too long";
        return false;
    }
    wl_display* compositor = wl_display_connect(nullptr);
    if (!compositor) {
        error = "cannot open " + display + ": no compositor at " + path + " (" + std::strerror(errno) + ")";
        return false;
    }
    bool seat = false;
    static const wl_registry_listener listener = {onGlobal, onGlobalRemove};
    wl_registry* registry = wl_display_get_registry(compositor);
    wl_registry_add_listener(registry, &listener, &seat);
    const bool answered = wl_display_roundtrip(compositor) >= 0;
    wl_registry_destroy(registry);
    wl_display_disconnect(compositor);
    if (!answered || !seat) {
        error = answered ? "cannot use " + display + ": its compositor has no input seat (no keyboard to quit with)"
                         : "cannot open " + display + ": the compositor at " + path + " does not answer";
        return false;
    }
    watch.server.sun_family = AF_UNIX;
    std::strcpy(watch.server.sun_path, path.c_str());
    return true;
}
