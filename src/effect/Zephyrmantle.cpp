#include "Zephyrmantle.h"

Zephyrmantle::Zephyrmantle() = default;

Zephyrmantle::~Zephyrmantle() = default;
