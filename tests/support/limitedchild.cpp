#include "support/limitedchild.h"

#include "support/childprocess.h"

#include <csignal>

#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
#include <unistd.h>

std::string runLimited(const ChildLimits &limits, const std::function<std::string()> &step)
{
    ChildProcess child([&] {
        ::alarm(limits.seconds);
        if (limits.fileBytes > 0) {
            // Told by the error, as on a full disk, rather than ended by the signal.
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit files{};
            ::getrlimit(RLIMIT_FSIZE, &files);
            files.rlim_cur = static_cast<rlim_t>(limits.fileBytes);
            if (::setrlimit(RLIMIT_FSIZE, &files) != 0)
                return std::string("no file size limit");
        }
        if (limits.asNobody && ::geteuid() == 0) {
            const passwd *nobody = ::getpwnam("nobody");
            if (!nobody || ::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 ||
                ::setuid(nobody->pw_uid) != 0)
                return std::string("still the superuser");
        }
        return step();
    });
    return child.finish();
}
