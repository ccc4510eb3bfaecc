#include "clock/text_layout.h"

#include "shared/numeric.h"

namespace tikora {

Point TextOrigin(double innerWidth, double innerHeight, double textWidth, double textHeight) {
    return {RoundHalfEven(innerWidth) / 2 - RoundHalfEven(textWidth) / 2 - 1,
            RoundHalfEven(innerHeight) / 2 - RoundHalfEven(textHeight) / 2 - 1};
}

}  // namespace tikora
