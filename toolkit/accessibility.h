// What the toolkit tells a screen reader besides answering its questions:
// the events that say something changed, and how a windowless control is
// numbered among its parent's accessible children.
#pragma once

#include <windows.h>

class TControl;

// A control's child id in its parent's accessible object: its place among
// the parent's children, from 1 (CHILDID_SELF, 0, is the parent itself).
LONG AccessibleChildId(const TControl* control);

// Raises a WinEvent (EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_VALUECHANGE, ...)
// for control: on its own window, or on its parent's with its child id. Does
// nothing while there is no window to raise it on. Callers raise only when
// what a reader hears has really changed.
void NotifyAccessibleEvent(const TControl* control, DWORD event);
