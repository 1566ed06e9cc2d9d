#include "console.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#ifdef MBHOST_HAVE_LIBEDIT
#include <editline/readline.h>
#endif

#include "statement_runner.h"

namespace mbhost::app {
namespace {

using veltrano::ipc::PollLoop;

constexpr const char* kPrompt = "MapBasic> ";

// Standard input read as it comes, cut at line ends.
class PlainConsole : public Console {
public:
    PlainConsole(PollLoop& loop, veltrano::Automation& host, std::ostream& out,
                 std::function<void()> closed)
        : Console(host, out), loop_(loop), closed_(std::move(closed)) {
        loop_.watch(STDIN_FILENO, POLLIN, [this](short) { readInput(); });
    }
    ~PlainConsole() override { loop_.unwatch(STDIN_FILENO); }

private:
    void readInput() {
        char buffer[4096];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof(buffer));
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) return;
        if (got <= 0) {
            if (!pending_.empty()) handleLine(std::exchange(pending_, {}));
            loop_.unwatch(STDIN_FILENO);
            closed_();
            return;
        }
        pending_.append(buffer, static_cast<std::size_t>(got));
        for (auto end = pending_.find('\n'); end != std::string::npos; end = pending_.find('\n')) {
            const std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            handleLine(line);
        }
    }

    PollLoop& loop_;
    std::function<void()> closed_;
    std::string pending_;
};

#ifdef MBHOST_HAVE_LIBEDIT
// Line editing and history through libedit's readline callbacks, which carry no context:
// hence the one active console in a static.
class EditingConsole : public Console {
public:
    EditingConsole(PollLoop& loop, veltrano::Automation& host, std::ostream& out,
                   std::function<void()> closed)
        : Console(host, out), loop_(loop), closed_(std::move(closed)) {
        active_ = this;
        ::rl_callback_handler_install(kPrompt, &EditingConsole::onLine);
        loop_.watch(STDIN_FILENO, POLLIN, [](short) { ::rl_callback_read_char(); });
    }
    ~EditingConsole() override {
        loop_.unwatch(STDIN_FILENO);
        ::rl_callback_handler_remove();
        active_ = nullptr;
    }

private:
    static void onLine(char* line) {
        EditingConsole* self = active_;
        if (!self) return;
        if (!line) {  // end of input
            std::fputs("\n", stdout);
            self->loop_.unwatch(STDIN_FILENO);
            self->closed_();
            return;
        }
        if (*line) ::add_history(line);
        const std::string text(line);
        std::free(line);
        self->handleLine(text);
    }

    static inline EditingConsole* active_ = nullptr;
    PollLoop& loop_;
    std::function<void()> closed_;
};
#endif

}  // namespace

void Console::handleLine(const std::string& line) {
    const std::string statement = statementOf(line);
    if (statement.empty()) return;
    if (auto failure = runStatement(host_, statement)) out_ << *failure << "\n";
    out_ << std::flush;
}

std::unique_ptr<Console> Console::start(PollLoop& loop, veltrano::Automation& host,
                                        std::ostream& out, std::function<void()> closed) {
#ifdef MBHOST_HAVE_LIBEDIT
    if (::isatty(STDIN_FILENO)) {
        return std::make_unique<EditingConsole>(loop, host, out, std::move(closed));
    }
#endif
    return std::make_unique<PlainConsole>(loop, host, out, std::move(closed));
}

}  // namespace mbhost::app
