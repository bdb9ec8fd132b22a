#include "platform/system/mci.h"

namespace platform::system {

int NullMci::send(std::string_view, std::string*) { return 0; }

int FakeMci::send(std::string_view command, std::string* reply) {
    commands_.emplace_back(command);
    const std::string* answer = nullptr;
    if (auto it = exact_.find(command); it != exact_.end()) {
        answer = &it->second;
    } else {
        std::size_t longest = 0;
        for (const auto& [prefix, text] : prefixes_) {
            if (command.starts_with(prefix) && (answer == nullptr || prefix.size() > longest)) {
                answer = &text;
                longest = prefix.size();
            }
        }
    }
    if (answer == nullptr && backEnd_ != nullptr) return backEnd_->send(command, reply);
    if (answer != nullptr && reply != nullptr) *reply = *answer;
    return 0;
}

void FakeMci::answer(std::string command, std::string reply) {
    exact_[std::move(command)] = std::move(reply);
}

void FakeMci::answerPrefix(std::string prefix, std::string reply) {
    prefixes_[std::move(prefix)] = std::move(reply);
}

}  // namespace platform::system
