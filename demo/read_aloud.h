#pragma once
// Pages read aloud: the speaker's name, then the page's text, each page cut
// short when it is turned, through the wired speech (services.h); silent
// without one.
#include <string_view>

namespace ReadAloud {

// Reads a page under a heading (the speaker's name; may be empty), after
// stopping whatever is being read: the heading as a sentence of its own,
// then the page's lines, joined by line feeds.
void Page(std::string_view heading, std::string_view text);
void Stop();

}  // namespace ReadAloud
