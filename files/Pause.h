#pragma once
// Every wait of the retrying operations goes through here, so tests can count the pauses instead of
// sitting them out. The shipped program links the real one (Sleep); only test builds link another.
void Pause(unsigned milliseconds);
