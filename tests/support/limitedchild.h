#pragma once

#include <functional>
#include <string>

// What holds a step back in a child process of its own: the user nobody instead of the
// superuser, whom no permission stops; files limited to so many bytes, as a disk that fills up
// stops them; and a time limit, so that a step that would wait for ever fails instead.
struct ChildLimits
{
    bool asNobody = false;
    long fileBytes = 0;
    unsigned seconds = 30;
};

// The step's text, or a text naming the signal that ended the child ("killed by signal 14" when
// the time ran out).
std::string runLimited(const ChildLimits &limits, const std::function<std::string()> &step);
