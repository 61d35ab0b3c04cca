#include "ui/AppState.h"

namespace kelvane {

AppState& App() {
    static AppState state;
    return state;
}

}  // namespace kelvane
