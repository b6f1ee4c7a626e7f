// SPDX-FileCopyrightText: 2026 The Prismark Preview contributors
// SPDX-License-Identifier: MIT

#include "attach/plainlauncher.h"

#include "attach/attachenvironment.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

const char galleryName[] = "prismark-live-gallery";
// The largest sheet prismark-live reads (as maxAuthorSheetBytes).
constexpr off_t maxSheetBytes = 16 * 1024 * 1024;
// Time enough for prismark-live-gallery to load and say why no hello came.
constexpr int galleryLoadMs = 1000;

std::string folderOf(const std::string &path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string ownFolder()
{
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return {};
    path[length] = '\0';
    return folderOf(path);
}

bool isExecutableFile(const std::string &path)
{
    struct stat info
    {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

bool isDirectory(const std::string &path)
{
    struct stat info
    {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string absolutePath(const std::string &path)
{
    if (!path.empty() && path[0] == '/')
        return path;
    char cwd[PATH_MAX];
    return ::getcwd(cwd, sizeof cwd) ? std::string(cwd) + "/" + path : std::string();
}

// Beside this program in a build tree; installed, with the attach plugin.
std::string galleryPath(const std::string &folder)
{
    const std::string beside = folder + "/" + galleryName;
    if (isExecutableFile(beside))
        return beside;
    return folder + "/" PRISMARK_LIVE_GALLERY_FROM_BINDIR "/" + galleryName;
}

std::string pluginFolder(const std::string &folder)
{
    const std::string installed = folder + "/" PRISMARK_INSTALLED_PLUGINS_FROM_BINDIR;
    if (isDirectory(installed + "/" + Attach::pluginSubfolder))
        return installed;
    return PRISMARK_BUILD_PLUGIN_DIR;
}

// The Python agent's folder: installed beside the plugin, or in this build tree.
std::string agentFolder(const std::string &folder)
{
    const std::string installed = folder + "/" PRISMARK_INSTALLED_AGENT_FROM_BINDIR;
    if (::access((installed + "/sitecustomize.py").c_str(), R_OK) == 0)
        return installed;
    return PRISMARK_BUILD_AGENT_DIR;
}

// A regular file of a size prismark-live reads; anything else is for the gallery's
// messages.
bool sheetIsReadable(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info
    {};
    const bool fine =
        ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= maxSheetBytes;
    ::close(fd);
    return fine;
}

// The program as it would be run: a path as given, or found on PATH; "" when it is
// not an executable file there.
std::string resolveProgram(const std::string &program)
{
    if (program.find('/') != std::string::npos)
        return isExecutableFile(program) ? absolutePath(program) : std::string();
    const char *searchPath = std::getenv("PATH");
    std::string paths = searchPath ? searchPath : "";
    size_t start = 0;
    while (start <= paths.size()) {
        size_t end = paths.find(':', start);
        if (end == std::string::npos)
            end = paths.size();
        const std::string folder = paths.substr(start, end - start);
        if (!folder.empty() && isExecutableFile(folder + "/" + program))
            return absolutePath(folder + "/" + program);
        start = end + 1;
    }
    return {};
}

// A socket of our own in the temporary folder, as the toolkit's local server makes
// one; its descriptor and path, or -1.
int listenForHello(std::string *path)
{
    const char *temporary = std::getenv("TMPDIR");
    std::string folder = temporary && *temporary ? temporary : "/tmp";
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    unsigned random = 0;
    if (::getentropy(&random, sizeof random) != 0)
        random = unsigned(::getpid()) * 2654435761u;
    char name[64];
    std::snprintf(name, sizeof name, "/prismark-live-%d-%08x", int(::getpid()), random);
    *path = folder + name;
    sockaddr_un address{};
    if (path->size() >= sizeof address.sun_path)
        return -1;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path->c_str(), path->size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    const mode_t mask = ::umask(0077);
    const bool bound =
        ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::umask(mask);
    if (!bound || ::listen(fd, 8) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// The environment of the launcher, with what the plugin needs (as the gallery's
// launcher sets it).
std::vector<std::string> applicationEnvironment(const Attach::Launch &launch)
{
    std::vector<std::string> environment;
    for (char **entry = environ; *entry; ++entry) {
        const std::string variable = *entry;
        if (Attach::passesToApplication(variable.substr(0, variable.find('=')).c_str()))
            environment.push_back(variable);
    }
    for (const Attach::Setting &setting : Attach::launcherSettings(launch))
        environment.push_back(setting.name + ("=" + setting.value));
    return environment;
}

std::vector<char *> pointers(std::vector<std::string> &strings)
{
    std::vector<char *> list;
    for (std::string &string : strings)
        list.push_back(&string[0]);
    list.push_back(nullptr);
    return list;
}

// "SHEET --", "--attach WAY SHEET --" or "--attach=WAY SHEET --": the commands started
// here. The sheet and the way in; false for any other.
bool readCommand(char *argv[], int separator, std::string *sheet, Attach::Way *way)
{
    const std::string option = std::string("--") + Attach::wayOption;
    int at = 1;
    std::string wayName = Attach::autoWay;
    if (separator == 4 && argv[1] == option) {
        wayName = argv[2];
        at = 3;
    } else if (separator == 3 && std::string(argv[1]).rfind(option + "=", 0) == 0) {
        wayName = std::string(argv[1]).substr(option.size() + 1);
        at = 2;
    } else if (separator != 2) {
        return false;
    }
    if (argv[at][0] == '-' || !Attach::wayNamed(wayName, way) || !sheetIsReadable(argv[at]))
        return false;
    *sheet = absolutePath(argv[at]);
    return true;
}

// Starts the application, and hands it over; returns only when it could not. The
// plugin and the agent are found from this program's folder, as installed.
void startFirst(char *argv[], int separator, const std::string &folder, const std::string &gallery)
{
    std::string sheet;
    Attach::Way way = Attach::Way::Auto;
    const std::string program = resolveProgram(argv[separator + 1]);
    if (!readCommand(argv, separator, &sheet, &way) || program.empty())
        return;
    const long pidfdProbe = ::syscall(SYS_pidfd_open, ::getpid(), 0);
    if (pidfdProbe < 0)
        return;
    ::close(int(pidfdProbe));
    std::string server;
    const int serverFd = listenForHello(&server);
    if (serverFd < 0)
        return;

    std::vector<std::string> environment = applicationEnvironment(
        {way == Attach::Way::Python ? std::string() : pluginFolder(folder), server, sheet,
         std::string(), way == Attach::Way::Plugin ? std::string() : agentFolder(folder),
         PRISMARK_PLUGIN_QT_VERSION, Attach::defaultColorScheme});
    std::vector<std::string> arguments;
    for (int i = separator + 1; argv[i]; ++i)
        arguments.push_back(argv[i]);
    std::vector<char *> environmentList = pointers(environment);
    std::vector<char *> argumentList = pointers(arguments);
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    const long long started = now.tv_sec * 1000000000LL + now.tv_nsec;
    pid_t pid = 0;
    if (::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argumentList.data(),
                      environmentList.data()) != 0) {
        ::close(serverFd);
        ::unlink(server.c_str());
        return;
    }
    const long pidfd = ::syscall(SYS_pidfd_open, pid, 0);
    if (pidfd < 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        ::close(serverFd);
        ::unlink(server.c_str());
        return;
    }
    // The application has the machine to itself until it says hello (once its first
    // window is painted) or ends; the rest of prismark-live loads after that, and has
    // what is left of the time for the hello to tell why none came.
    pollfd events[2] = {{serverFd, POLLIN, 0}, {int(pidfd), POLLIN, 0}};
    while (::poll(events, 2, Attach::handshakeMs - galleryLoadMs) < 0 && errno == EINTR) {
    }
    char adopt[128];
    std::snprintf(adopt, sizeof adopt, "%d,%ld,%d,%lld", int(pid), pidfd, serverFd, started);
    ::fcntl(serverFd, F_SETFD, 0);
    ::fcntl(int(pidfd), F_SETFD, 0);
    ::setenv(Attach::adoptVariable, adopt, 1);
    ::execv(gallery.c_str(), argv);
    std::fprintf(stderr, "prismark-live: cannot run %s: %s\n", gallery.c_str(),
                 std::strerror(errno));
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    ::unlink(server.c_str());
    std::exit(3);
}

} // namespace

int runPlainLauncher(int argc, char *argv[])
{
    const std::string folder = ownFolder();
    const std::string gallery = galleryPath(folder);
    int separator = 0;
    for (int i = 1; i < argc && !separator; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            separator = i;
    }
    if (separator && separator + 1 < argc)
        startFirst(argv, separator, folder, gallery);
    ::unsetenv(Attach::adoptVariable);
    ::execv(gallery.c_str(), argv);
    std::fprintf(stderr, "prismark-live: cannot run %s: %s\n", gallery.c_str(),
                 std::strerror(errno));
    return 2;
}
