// The event script interpreter: runs the loaded scenario's EVENT DATA from EventPC, one
// instruction after another (decoded through the opcode table), pumping the window's
// messages after each, until this level stops.
//
// Levels: the play loop runs the top level; a call (0x22) and a scenario's entry routine
// run nested levels. All levels share EventPC, ScriptStop and the game state; each keeps its
// own position in the EVENT DATA block it wired.
//
// Damaged data never makes it read outside the block: a fetch, an operand, a jump target,
// a label or a message that lies outside its block ends the program with
// "シナリオが壊れています : NNN.SCN", and so does nesting deeper than kMaxEventLevels
// (a call or entry routine that enters itself without end).
//
// A block released under a level: a scenario jump (0x24) or a restore inside a nested
// level replaces EVENT DATA while the levels below it still point into the old block. The
// rule: after every instruction a level checks that EventData is still the block it
// wired; when it is not, that level stops at once (without touching the old block) and so
// do the levels below it in turn, down to the play loop, which goes on as ScriptStop says
// (the nested level went on reading the new block until it ended play or restored a
// state).
#pragma once

namespace scenario {

constexpr int kMaxEventLevels = 64;

void RunEvents();

}  // namespace scenario
