#pragma once
// The link types: the numbers CommType stores and both communication libraries take as the
// link-type argument (LinkType, LinkTypeNumber, ToLinkType, IsLinkType). PortLink holds them, as
// its calls take them.
#include "libs/portlink/LinkKinds.h"
