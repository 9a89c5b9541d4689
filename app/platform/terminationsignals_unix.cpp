#include "terminationsignals.h"

#include <QDebug>
#include <QSocketNotifier>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr std::array<int, 3> kTerminationSignals = {SIGTERM, SIGHUP, SIGINT};

// The self-pipe lives as long as the process: a handler running on another thread while the
// holder goes away must never write into a closed, or meanwhile reused, descriptor.
int readFd = -1;
std::atomic<int> writeFd{-1};
static_assert(std::atomic<int>::is_always_lock_free, "read inside a signal handler");

std::array<struct sigaction, kTerminationSignals.size()> replacedActions{};
std::array<bool, kTerminationSignals.size()> replaced{};
const TerminationSignals* holder = nullptr;

void onSignal(int signalNumber) {
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signalNumber);
    // A full pipe already carries a pending request, so a failed write loses nothing.
    const ssize_t written = ::write(writeFd.load(std::memory_order_relaxed), &byte, 1);
    static_cast<void>(written);
    errno = savedErrno;
}

bool createPipe() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        qCritical() << "Termination signals not handled: no pipe, errno" << errno;
        return false;
    }
    readFd = fds[0];
    writeFd.store(fds[1]);
    return true;
}

void discardPending() {
    unsigned char byte = 0;
    while (::read(readFd, &byte, 1) == 1) {
    }
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent)
    : QObject(parent) {
    if (holder) {
        qCritical() << "Termination signals already handled by another object";
        return;
    }
    static const bool pipeReady = createPipe();
    if (!pipeReady)
        return;
    holder = this;
    // Left over from an earlier holder, whose process-end request was not delivered.
    discardPending();
    notifier_ = std::make_unique<QSocketNotifier>(readFd, QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this,
            &TerminationSignals::deliverPending);

    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < kTerminationSignals.size(); ++i) {
        struct sigaction previous {};
        if (::sigaction(kTerminationSignals[i], nullptr, &previous) != 0 ||
            previous.sa_handler == SIG_IGN)
            continue;
        replaced[i] = ::sigaction(kTerminationSignals[i], &action, &replacedActions[i]) == 0;
    }
}

TerminationSignals::~TerminationSignals() {
    if (holder != this)
        return;
    for (size_t i = 0; i < kTerminationSignals.size(); ++i) {
        if (replaced[i])
            ::sigaction(kTerminationSignals[i], &replacedActions[i], nullptr);
        replaced[i] = false;
    }
    notifier_.reset();
    discardPending();
    holder = nullptr;
}

void TerminationSignals::deliverPending() {
    unsigned char byte = 0;
    while (::read(readFd, &byte, 1) == 1)
        emit received(byte);
}

} // namespace platform
