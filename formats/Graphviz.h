#pragma once
// One use of Graphviz at a time, with its messages collected instead of printed.

#include <mutex>
#include <string>

struct GVC_s;

// Graphviz's libraries keep global state, so a session holds one lock for all of them, and
// routes what Graphviz would print on standard error to TakeMessages.
class GraphvizSession {
  public:
    GraphvizSession();
    ~GraphvizSession();
    GraphvizSession(const GraphvizSession&) = delete;
    GraphvizSession& operator=(const GraphvizSession&) = delete;

    // The messages since the session began (or since the last call), one per line.
    std::string TakeMessages();
    // True when Graphviz reported an error (not only a warning) since the session began.
    bool HadError() const;

    // The layout context, made once: making one loads the plugins again and leaks a little.
    GVC_s* LayoutContext();

  private:
    std::unique_lock<std::mutex> lock_;
};
