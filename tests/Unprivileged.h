#pragma once
// Runs a piece of a test where file modes count. For a user that is this process;
// root passes every permission check, so there the piece runs in a forked child
// that has become the user nobody (65534) and hands its result back by a pipe.
// The folders the piece reads must be open to others (QTemporaryDir makes its
// folder for the owner alone).

#include <QByteArray>

#include <cerrno>
#include <exception>
#include <functional>
#include <optional>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

// What piece returns, or what it raised ("raised: " and the message); none when
// this process is root and a child cannot become another user (tests then skip).
inline std::optional<QByteArray> RunWhereModesCount(const std::function<QByteArray()> &piece)
{
    const auto run = [&piece]() -> QByteArray {
        try {
            return piece();
        } catch (const std::exception &e) {
            return QByteArray("raised: ") + e.what();
        }
    };
    if (::geteuid() != 0)
        return run();
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        constexpr id_t kNobody = 65534;
        if (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0
            || ::setresuid(kNobody, kNobody, kNobody) != 0)
            ::_exit(2);
        const QByteArray result = run();
        for (qsizetype done = 0; done < result.size();) {
            const ssize_t written = ::write(pipeEnds[1], result.constData() + done,
                                            size_t(result.size() - done));
            if (written <= 0)
                ::_exit(3);
            done += written;
        }
        ::_exit(0); // no destructors: they belong to the parent
    }
    ::close(pipeEnds[1]);
    QByteArray result;
    char buffer[4096];
    for (ssize_t got; child > 0 && (got = ::read(pipeEnds[0], buffer, sizeof buffer)) != 0;) {
        if (got > 0)
            result.append(buffer, got);
        else if (errno != EINTR)
            break;
    }
    ::close(pipeEnds[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return std::nullopt;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 2)
        return std::nullopt; // it could not become nobody
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? result
                                                         : QByteArray("<the child failed>");
}
