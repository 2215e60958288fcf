// The importer's one failure object: a complete message text and nothing else.
//
// Every reading error, envelope error and walk-bound error of a load is
// raised as a TextException; the import run catches it and shows Text().
#pragma once

#include <string>
#include <utility>

class TextException {
public:
    explicit TextException(std::string text) : text_(std::move(text)) {}
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};
