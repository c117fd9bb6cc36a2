// A small result with every column type and a null column, for trying the client by hand.
#pragma once
#include "tests/peer/peer_wire.h"

namespace peer {
result demo_result();
}
