#pragma once
// The engine's shared types, declared for headers that only pass them along.

namespace quor {

class tvarlist;
class tfunclist;
class tfuncitem;
class tmemo;
class tsession;
class thost;

}  // namespace quor
