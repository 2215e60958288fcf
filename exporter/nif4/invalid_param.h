// The writer's failure object: a block constructor that rejects its
// arguments throws it with a fixed text naming the constructor and the
// argument, e.g. "CNIF4_Node::CNIF4_Node: numChildren less than 0".
#pragma once

#include <string>
#include <utility>

class EInvalidParam {
public:
    explicit EInvalidParam(std::string text) : text_(std::move(text)) {}
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};
