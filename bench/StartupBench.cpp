// Cold start to the main window shown, for Huelark, its floor (a bare Qt
// Widgets window: one label, the same toolkit) and the two colour tools
// Debian ships (gpick, kcolorchooser), in the same run on the same X server;
// with each program's resident memory when its window appears.
//
// The program starts its own Xvfb (no window manager) and watches the root
// window: the clock runs from fork() until the program's main window, found
// by its title, is mapped. Each program gets one untimed warm-up start in a
// throw-away home (so first-start work such as writing default settings is
// not counted), then timed starts; each is ended before the next begins.
// Programs that are not installed are skipped with a note
// (`scripts/install-deps --peers` installs them).
//
//   StartupBench [--runs N]        (other --benchmark... options are ignored)

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Peer
{
    std::string name;
    std::string program;     // full path
    std::string titlePart;   // the main window's title contains this
};

pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::pair<std::string, std::string>>& env, int keepFd = -1)
{
    std::fflush(nullptr); // or the child would print our buffered lines again
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    setpgid(0, 0);
    for (const auto& [key, value] : env) {
        if (value.empty())
            unsetenv(key.c_str());
        else
            setenv(key.c_str(), value.c_str(), 1);
    }
    if (keepFd < 0) {
        // The tools' chatter would drown the figures.
        freopen("/dev/null", "w", stdout);
        freopen("/dev/null", "w", stderr);
    }
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

void stop(pid_t pid)
{
    kill(-pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        usleep(10000);
    }
    kill(-pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

std::string windowTitle(xcb_connection_t* x, xcb_window_t window)
{
    const auto atom = [x](const char* name) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(x, xcb_intern_atom(x, 0, std::strlen(name), name), nullptr);
        const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(reply);
        return value;
    };
    static const xcb_atom_t netWmName = atom("_NET_WM_NAME");
    const xcb_atom_t wmName = XCB_ATOM_WM_NAME;
    for (const xcb_atom_t property : { netWmName, wmName }) {
        xcb_get_property_reply_t* reply
            = xcb_get_property_reply(x, xcb_get_property(x, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr);
        std::string title;
        if (reply)
            title.assign(static_cast<const char*>(xcb_get_property_value(reply)), xcb_get_property_value_length(reply));
        free(reply);
        if (!title.empty())
            return title;
    }
    return {};
}

struct Start
{
    double milliseconds;
    double residentMiB; // VmRSS one second after the window was mapped
};

double residentMiB(pid_t pid)
{
    const std::string path = "/proc/" + std::to_string(pid) + "/status";
    FILE* status = std::fopen(path.c_str(), "r");
    if (!status)
        return 0;
    char line[256];
    double kib = 0;
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, "VmRSS:", 6) == 0)
            kib = std::atof(line + 6);
    }
    std::fclose(status);
    return kib / 1024;
}

// Milliseconds from start to the mapping of a window whose title contains
// `titlePart`; nothing after 20 s.
std::optional<Start> timeStart(xcb_connection_t* x, const Peer& peer, const std::vector<std::pair<std::string, std::string>>& env)
{
    while (xcb_generic_event_t* stale = xcb_poll_for_event(x))
        free(stale);
    const Clock::time_point start = Clock::now();
    const pid_t pid = spawn({ peer.program }, env);
    std::optional<Start> elapsed;
    pollfd fd { xcb_get_file_descriptor(x), POLLIN, 0 };
    while (!elapsed && Clock::now() - start < std::chrono::seconds(20)) {
        xcb_generic_event_t* event = xcb_poll_for_event(x);
        if (!event) {
            poll(&fd, 1, 50);
            continue;
        }
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
            const Clock::time_point mapped = Clock::now();
            if (windowTitle(x, map->window).find(peer.titlePart) != std::string::npos)
                elapsed = Start { std::chrono::duration<double, std::milli>(mapped - start).count(), 0 };
        }
        free(event);
    }
    if (elapsed) {
        // What the program holds once it has settled: work deferred past the
        // first frame (the names, the colour panel) counts too.
        usleep(1000000);
        elapsed->residentMiB = residentMiB(pid);
    }
    stop(pid);
    usleep(100000); // let the server forget the windows
    return elapsed;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int runs = 10;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::max(1, std::atoi(argv[i + 1]));
    }

    const QString huelark = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../src/gui/huelark"));
    const QString bare = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("floor/BareWindow"));
    std::vector<Peer> peers { { "huelark", QFileInfo(huelark).canonicalFilePath().toStdString(), "Huelark" },
                              { "bare Qt window", QFileInfo(bare).canonicalFilePath().toStdString(), "Bare Qt window" } };
    const struct { const char* name; const char* title; } others[] = { { "gpick", "Gpick" }, { "kcolorchooser", "KColorChooser" } };
    for (const auto& other : others) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(other.name));
        if (path.isEmpty())
            std::printf("%-14s not installed (scripts/install-deps --peers); skipped\n", other.name);
        else
            peers.push_back({ other.name, path.toStdString(), other.title });
    }

    int displayPipe[2];
    if (pipe(displayPipe) != 0)
        return 1;
    const pid_t xvfb = spawn({ "Xvfb", "-displayfd", std::to_string(displayPipe[1]), "-screen", "0", "1920x1080x24", "-nolisten", "tcp" }, {}, displayPipe[1]);
    close(displayPipe[1]);
    char number[16] = {};
    if (read(displayPipe[0], number, sizeof number - 1) <= 0) {
        std::fprintf(stderr, "StartupBench: Xvfb did not start\n");
        return 1;
    }
    const std::string display = ":" + std::string(number, std::strcspn(number, "\n"));
    xcb_connection_t* x = xcb_connect(display.c_str(), nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "StartupBench: cannot reach %s\n", display.c_str());
        stop(xvfb);
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    std::printf("Cold start to the main window mapped, under Xvfb %s, median of %d starts (ms; resident MiB a second later)\n",
                display.c_str(), runs);
    std::vector<std::pair<std::string, double>> medians;
    for (const Peer& peer : peers) {
        QTemporaryDir home;
        const std::string h = home.path().toStdString();
        const std::vector<std::pair<std::string, std::string>> env {
            { "DISPLAY", display }, { "HOME", h }, { "XDG_CONFIG_HOME", h + "/.config" },
            { "XDG_DATA_HOME", h + "/.local/share" }, { "XDG_CACHE_HOME", h + "/.cache" },
            { "QT_QPA_PLATFORM", "" }, { "WAYLAND_DISPLAY", "" },
        };
        timeStart(x, peer, env); // warm-up: first-start work and a warm file cache
        std::vector<double> times, resident;
        for (int i = 0; i < runs; ++i) {
            if (const std::optional<Start> t = timeStart(x, peer, env)) {
                times.push_back(t->milliseconds);
                resident.push_back(t->residentMiB);
            }
        }
        if (times.empty()) {
            std::printf("%-14s no window titled \"%s\" appeared\n", peer.name.c_str(), peer.titlePart.c_str());
            continue;
        }
        const auto [low, high] = std::minmax_element(times.begin(), times.end());
        medians.emplace_back(peer.name, median(times));
        std::printf("%-14s median %7.1f   min %7.1f   max %7.1f   resident %6.1f MiB\n", peer.name.c_str(),
                    medians.back().second, *low, *high, median(resident));
    }
    if (medians.size() > 1 && medians.front().first == "huelark") {
        for (size_t i = 1; i < medians.size(); ++i) {
            if (medians[i].first == "bare Qt window")
                std::printf("huelark / its floor: %.2fx\n", medians.front().second / medians[i].second);
            else
                std::printf("%s / huelark: %.2fx\n", medians[i].first.c_str(), medians[i].second / medians.front().second);
        }
    }
    xcb_disconnect(x);
    stop(xvfb);
    return 0;
}
