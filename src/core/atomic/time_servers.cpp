#include "atomic/time_servers.h"

namespace tikora {

std::string ServerItemText(int index, std::string_view name) {
    return std::to_string(index) + ": " + std::string(name);
}

}  // namespace tikora
