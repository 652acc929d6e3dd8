#pragma once

class Edge3D;

// Guards a walk round a net's outline against cycling: the limit doubles and the current edge is
// remembered each time the count passes it; meeting the remembered edge again means the walk
// never comes back to its start.
class NetWalkGuard
{
public:
    bool Stuck(const Edge3D* current)
    {
        if (current == mRemembered)
            return true;
        if (++mCount > mLimit)
        {
            mLimit *= 2;
            mCount = 0;
            mRemembered = current;
        }
        return false;
    }

private:
    const Edge3D* mRemembered = nullptr;
    int mCount = 0;
    int mLimit = 20;
};
