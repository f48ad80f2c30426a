#pragma once
// Serialises every use of Graphviz, whose libraries keep global state, and collects the
// messages it would otherwise print on standard error.

#include <mutex>
#include <string>

struct GVC_s;

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
