// The section analysis working store and its reset.

#include "section/SectionWork.h"

namespace kestro {

SectionWork SecWork;

void ResetSectionWork() {
    // Copied from a static empty instance: the store is too large for a
    // temporary on the stack.
    static const SectionWork Empty{};
    SecWork = Empty;
}

}  // namespace kestro
