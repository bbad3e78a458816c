#pragma once
// Slots of the model store that are written through one accessor which marks
// them, so that the reset at the start of a run empties only the slots the
// runs before it wrote. Used for the large per-section tables, most of which
// a run never touches.

#include <cstddef>

#include "model/ProblemData.h"

namespace kestro {

template <typename T, int N>
struct WrittenSlots {
    Array1<T, N> Slots{};        // read through a const reference to this member
    Array1<bool, N> Written{};

    // Slot n (0..N) for writing; marked to be emptied at the next reset.
    T& Write(int n) {
        const std::size_t k = static_cast<std::size_t>(n);
        Written.at(k) = true;
        return Slots[k];
    }

    // Copies `empty` into every marked slot and clears the marks.
    void EmptyWritten(const T& empty) {
        for (std::size_t k = 0; k < Slots.size(); ++k) {
            if (!Written[k]) continue;
            Slots[k] = empty;
            Written[k] = false;
        }
    }
};

}  // namespace kestro
