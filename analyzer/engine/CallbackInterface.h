#pragma once
// Told when a sweep that the RLC control panel started has ended.

class CallbackInterface {
public:
    virtual ~CallbackInterface() = default;
    // code: 0 the sweep ended normally, 1 after a bus error, 2 after an analyzer error.
    virtual void OnSweepComplete(int code) = 0;
};
