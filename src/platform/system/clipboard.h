// The clipboard: plain text only. The desktop front end supplies the real
// one; everything else uses the in-memory clipboard.
#pragma once

#include <string>
#include <string_view>

namespace platform::system {

class Clipboard {
  public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    virtual void setText(std::string_view text) = 0;
    virtual std::string text() const = 0;  // "" when it holds no text
};

class MemoryClipboard final : public Clipboard {
  public:
    void clear() override { text_.clear(); }
    void setText(std::string_view text) override { text_ = text; }
    std::string text() const override { return text_; }

  private:
    std::string text_;
};

}  // namespace platform::system
