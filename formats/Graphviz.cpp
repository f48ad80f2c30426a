#include "Graphviz.h"

#include <graphviz/gvc.h>

namespace {
std::mutex graphvizMutex;
std::string messages; // guarded by graphvizMutex

// Graphviz hands over a message in pieces ("Error", ": ", the text).
int CollectMessage(char* piece) {
    messages += piece;
    return 0;
}
} // namespace

GraphvizSession::GraphvizSession() : lock_(graphvizMutex) {
    messages.clear();
    agseterr(AGWARN); // every message goes to CollectMessage, none to standard error
    agseterrf(CollectMessage);
    agreseterrors();
}

GraphvizSession::~GraphvizSession() {
    agseterrf(nullptr);
}

std::string GraphvizSession::TakeMessages() {
    std::string taken;
    taken.swap(messages);
    while (!taken.empty() && taken.back() == '\n')
        taken.pop_back();
    return taken;
}

bool GraphvizSession::HadError() const {
    return agerrors() >= AGERR;
}

GVC_t* GraphvizSession::LayoutContext() {
    static GVC_t* const context = gvContext();
    return context;
}
