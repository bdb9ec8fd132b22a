// The multimedia command port: a command string in ("play cd",
// "status cd position"), a reply text out, as the system's string command
// interface works. A back end that does not answer a query leaves the reply
// buffer as it was, as a failed query does.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace platform::system {

class Mci {
  public:
    virtual ~Mci() = default;
    // Carries out the command; reply (may be null) receives the answer of a
    // query. Returns 0 when the command was accepted.
    virtual int send(std::string_view command, std::string* reply) = 0;
};

// No multimedia device: every command is accepted and nothing is answered.
class NullMci final : public Mci {
  public:
    int send(std::string_view command, std::string* reply) override;
};

// A back end for tests: records every command string and answers from a
// script. An exact command's answer wins over a prefix's; of several
// matching prefixes the longest wins. Unscripted commands are accepted and
// answer nothing.
class FakeMci final : public Mci {
  public:
    int send(std::string_view command, std::string* reply) override;

    void answer(std::string command, std::string reply);
    void answerPrefix(std::string prefix, std::string reply);

    // Commands without a scripted answer go on to the back end (null: they
    // are accepted and answer nothing).
    void forwardTo(Mci* backEnd) { backEnd_ = backEnd; }

    const std::vector<std::string>& commands() const { return commands_; }
    void clearCommands() { commands_.clear(); }

  private:
    std::map<std::string, std::string, std::less<>> exact_;
    std::map<std::string, std::string, std::less<>> prefixes_;
    std::vector<std::string> commands_;
    Mci* backEnd_ = nullptr;
};

}  // namespace platform::system
