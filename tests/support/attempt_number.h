// A sender attempt's end as the tests' tables write it: 1 loaded, 0 failed, -1 refused file.
#pragma once

#include "sender/send_attempt.h"

namespace testing_support {

inline int attempt_number(lumbra::AttemptEnd end) {
    switch (end) {
        case lumbra::AttemptEnd::loaded:
            return 1;
        case lumbra::AttemptEnd::failed:
            return 0;
        case lumbra::AttemptEnd::file_refused:
            return -1;
    }
    return 0;
}

}  // namespace testing_support
