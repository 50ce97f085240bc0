#pragma once

#include <functional>
#include <vector>

// Resume stands for the whole resume: its questions, and its starts, whose shell calls can run a
// message loop of their own (a security prompt).
enum class ModalKind { Resume, QueueTransfers, ScheduleEditor, Confirmation };

// The program's own modal dialogs and message boxes that are open now, innermost last. Each runs
// a message loop of its own in which ticks, commands and the close box keep arriving; handlers
// ask here before they stack another question or end the program underneath an open one.
class ModalState {
public:
    // Marks a modal as open for as long as it lives.
    class Scope {
    public:
        Scope(ModalState& state, ModalKind kind);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        ModalState& state_;
    };

    // Shows a modal through `show`, marked open for exactly as long as it runs.
    template <typename Show>
    auto Run(ModalKind kind, Show&& show) {
        Scope open(*this, kind);
        return show();
    }

    bool IsAnyOpen() const { return !open_.empty(); }
    bool IsOpen(ModalKind kind) const;

private:
    std::vector<ModalKind> open_;
};

enum class CloseRequest { BringModalToFront, Close, Stay };

// Closing underneath an open question would throw its answer away: the open one is brought to
// the front instead. Otherwise the user confirms, in a modal of its own.
CloseRequest RequestClose(ModalState& modals, const std::function<bool()>& confirm);
