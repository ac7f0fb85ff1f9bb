// The communication library: the factory, the protocol interface and its exception.
#pragma once

#include "communication_exception.h"
#include "communication_factory.h"
#include "communication_protocol.h"
