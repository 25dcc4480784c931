#pragma once
// Resource identifiers, shared by the resource script and the code.

#define kIconApp 1
#define kIconTools 2
