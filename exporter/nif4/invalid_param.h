// The writer's failure object: a block constructor that rejects its
// arguments throws it with a fixed text naming the constructor and the
// argument, e.g. "CNIF4_Node::CNIF4_Node: numChildren less than 0".
#pragma once

#include <string>
#include <utility>

class EInvalidParam {
public:
    explicit EInvalidParam(std::string text) : m_text(std::move(text)) {}
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};
