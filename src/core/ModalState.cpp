#include "core/ModalState.h"

#include <algorithm>

ModalState::Scope::Scope(ModalState& state, ModalKind kind) : state_(state) {
    state_.open_.push_back(kind);
}

ModalState::Scope::~Scope() {
    state_.open_.pop_back();
}

bool ModalState::IsOpen(ModalKind kind) const {
    return std::find(open_.begin(), open_.end(), kind) != open_.end();
}

CloseRequest RequestClose(ModalState& modals, const std::function<bool()>& confirm) {
    if (modals.IsAnyOpen()) {
        return CloseRequest::BringModalToFront;
    }
    return modals.Run(ModalKind::Confirmation, confirm) ? CloseRequest::Close : CloseRequest::Stay;
}
