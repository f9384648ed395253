#pragma once
// Progress, status and cancellation of long work. The window, the command line or a test
// implements it; core never talks to the screen itself.
#include <string>

class IProgresso {
public:
    virtual ~IProgresso() = default;
    virtual void SetMax(int max) { (void)max; }
    virtual void SetPosition(int pos) { (void)pos; }
    virtual void SetStatus(const std::string& text) { (void)text; }
    virtual void SetCaption(const std::string& text) { (void)text; }
    // How many items the work has produced so far (terraces placed), shown beside the status.
    virtual void SetCount(int n) { (void)n; }
    // "Let the interface breathe": process pending events.
    virtual void ProcessEvents() {}
    virtual bool StopRequested() const { return false; }
};
