// The parts of the file layer that do not depend on the system.
#include "platform/files.h"

namespace pallo::files {

const char* writeStepName(WriteStep step) {
    switch (step) {
        case WriteStep::CreateTemp: return "CreateTemp";
        case WriteStep::Write: return "Write";
        case WriteStep::Flush: return "Flush";
        case WriteStep::Close: return "Close";
        case WriteStep::Replace: return "Replace";
    }
    return "?";
}

}  // namespace pallo::files
