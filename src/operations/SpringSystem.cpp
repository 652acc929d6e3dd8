#include "operations/SpringSystem.h"

#include "kernel/ColorRGB.h"
#include "kernel/Messages.h"
#include "kernel/Progress.h"
#include "kernel/Tolerance.h"
#include "kernel/WaitCursor.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "operations/SpringNetwork.h"
#include "polytope4d/Polytope4D.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <vector>

namespace
{
constexpr double kTimeStep = 0.5;
constexpr int kStepLimit = 10000;
constexpr int kStableSteps = 50;
constexpr double kVanishingStiffness = 1e-13;
// Nodes closer than this count as one point: the difference of their positions is rounding noise
// and gives no direction to push them apart along.
constexpr double kCoincident = 1e-12;

std::mt19937 gRandom(19620601u);

// Uniform in [-1, 1], from the raw draw so that every library gives the same numbers.
double RandomUnit()
{
    return double(gRandom()) * (2.0 / 4294967295.0) - 1.0;
}

bool IsActiveVertex(const SpringNode* node)
{
    return (node->mFlags & SpringNode::kPolygonVertex) && !(node->mFlags & SpringNode::kUnused);
}

// A direction for a spring whose two nodes lie on top of each other: taken from the pair, so that
// the springs of a bunch of coincident nodes push them apart in different directions rather than
// along one line they could never leave.
Vec4D DirectionOfPair(const SpringNode* a, const SpringNode* b, bool is4D)
{
    const double t = double(a->mIndex) * 2.399963229728653 + double(b->mIndex) * 0.7548776662466927;
    const double z = std::cos(t * 1.61803398875);
    const double r = std::sqrt(1.0 - z * z);
    Vec4D d{r * std::cos(t), r * std::sin(t), z, 0.0};
    if (is4D)
    {
        const double w = std::sin(t * 0.5698402910);
        Vec4Scale(d, std::sqrt(1.0 - w * w));
        d.w = w;
    }
    return d;
}

// Reads a run of digits; false when there is none.
bool ReadNumber(const char*& p, int& value)
{
    if (!std::isdigit(static_cast<unsigned char>(*p)))
        return false;
    long v = 0;
    while (std::isdigit(static_cast<unsigned char>(*p)))
    {
        if (v < 100000000)
            v = v * 10 + (*p - '0');
        ++p;
    }
    value = int(v);
    return true;
}

const char* SkipWhite(const char* p)
{
    while (*p && std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    return p;
}

// One layer token: the number of nodes, its density and whether it is turned by half a step.
struct Layer
{
    int count = 0;
    int density = 1;
    bool halfStep = false;
};

std::vector<Layer> ReadLayers(const char* p)
{
    std::vector<Layer> layers;
    if (!p)
        return layers;
    p = SkipWhite(p);
    while (*p == 'L' || *p == 'l')
    {
        Layer layer;
        const char* q = p + 1;
        if (*q == '+')
        {
            layer.halfStep = true;
            ++q;
        }
        ReadNumber(q, layer.count);
        if (*q == '/')
        {
            ++q;
            ReadNumber(q, layer.density);
        }
        layers.push_back(layer);
        while (*p && !std::isspace(static_cast<unsigned char>(*p)))
            ++p;
        p = SkipWhite(p);
    }
    return layers;
}

// A polygon with a corner that is no node of the network cannot be relaxed: it goes.
bool KeepPolygonIfWhole(SpringPolygon* polygon, const char* function, int number)
{
    for (int k = 0; k < polygon->mNumSides; ++k)
    {
        if (!polygon->mNodes[k])
        {
            InternalError("%s: polygon %d has a corner that is no vertex", function, number + 1);
            SpringNetwork& net = GetSpringNetwork();
            ListRemove(polygon, net.mFirstPolygon, net.mLastPolygon);
            delete polygon;
            return false;
        }
    }
    return true;
}

double Distance(const Vec4D& a, const Vec4D& b)
{
    Vec4D d;
    Vec4Sub(d, b, a);
    return Vec4Length(d);
}
}  // namespace

void SeedSpringRandom(unsigned seed)
{
    gRandom.seed(seed);
}

SpringSystem::SpringSystem() = default;

SpringSystem::~SpringSystem() = default;

std::unique_ptr<SimplePoly> SpringSystem::TakeResult()
{
    return std::move(mResult);
}

void SpringSystem::CreateFromPoly(Poly* poly)
{
    TraceScope trace("Create from poly");
    ResetSpringNetwork();
    mSourcePoly = poly;
    mFlags = 0;
    mLayerText = nullptr;
    mNumNodes = poly ? poly->mVerts.mCount : 0;
    mNumPolygons = poly ? poly->mFaces.mCount : 0;
    if (!poly)
        return;
    std::vector<SpringNode*> nodes;
    nodes.reserve(size_t(mNumNodes));
    for (FaceVert* v = poly->mVerts.mFirst; v; v = v->mNext)
    {
        SpringNode* node = NewSpringNode();
        node->mFlags = SpringNode::kPolygonVertex;
        nodes.push_back(node);
    }
    int number = 0;
    for (FaceVert* f = poly->mFaces.mFirst; f; f = f->mNext, ++number)
    {
        SpringPolygon* polygon = NewSpringPolygon(f->mNumSides);
        if (!polygon)
            continue;
        for (int k = 0; k < f->mNumSides; ++k)
        {
            const FaceVert* corner = f->mNeighbours[k];
            const int index = corner && corner->mList == &poly->mVerts ? corner->mIndex : -1;
            polygon->mNodes[k] = index >= 0 && index < int(nodes.size()) ? nodes[size_t(index)] : nullptr;
        }
        if (KeepPolygonIfWhole(polygon, "SpringSystem::CreateFromPoly()", number))
            polygon->SetDensity(f->mDensity);
    }
}

void SpringSystem::CreateFromTope(Polytope4D* polytope)
{
    TraceScope trace("Create from tope");
    ResetSpringNetwork();
    mSourceTope = polytope;
    mFlags = 0;
    mLayerText = nullptr;
    GetSpringNetwork().mIs4D = true;
    mNumNodes = polytope ? polytope->mNumVerts : 0;
    mNumPolygons = polytope ? polytope->mNumFaces : 0;
    if (!polytope)
        return;
    polytope->EnsureIndices(Element4D::kVertKind);
    std::vector<SpringNode*> nodes;
    for (Element4D* v = polytope->mFirstVert; v; v = v->next)
    {
        SpringNode* node = NewSpringNode();
        node->mFlags = SpringNode::kPolygonVertex;
        nodes.push_back(node);
    }
    int number = 0;
    for (Element4D* e = polytope->mFirstFace; e; e = e->next, ++number)
    {
        auto* face = static_cast<Face4D*>(e);
        SpringPolygon* polygon = NewSpringPolygon(face->mNumSides);
        if (!polygon)
            continue;
        for (int k = 0; k < face->mNumSides; ++k)
        {
            const int index = face->mVerts ? Vert4D::GetIndex(face->mVerts[k]) : -1;
            polygon->mNodes[k] = index >= 0 && index < int(nodes.size()) ? nodes[size_t(index)] : nullptr;
        }
        if (KeepPolygonIfWhole(polygon, "SpringSystem::CreateFromTope()", number))
            polygon->SetDensity(face->mNumWraps);
    }
}

void SpringSystem::CreateSprings()
{
    TraceScope trace("CreateSprings");
    ScopedWaitCursor wait;
    mNumEdgeSprings = mNumChordSprings = mNumTargetSprings = mNumTemporarySprings = 0;
    for (SpringPolygon* polygon = GetSpringNetwork().mFirstPolygon; polygon; polygon = polygon->next)
    {
        const int n = polygon->mNumSides;
        const int d = polygon->mDensity;
        const bool temporary = (polygon->mFlags & SpringPolygon::kTemporary) != 0;
        const double r = n > 3 ? 1.0 / std::sqrt(2.0 - 2.0 * std::cos(2.0 * kPi * d / n)) : 0.0;
        SpringNode** nodes = polygon->mNodes.get();
        for (int i = 0; i < n; ++i)
        {
            SpringNode* prev = nodes[i == 0 ? n - 1 : i - 1];
            if (Spring* s = AddSpring(prev, nodes[i], 1.0, temporary, n, 1.0))
            {
                s->mFlags |= Spring::kEdge;
                ++mNumEdgeSprings;
                mNumTemporarySprings += temporary ? 1 : 0;
            }
            for (int j = i + 2; j < n; ++j)
            {
                if (i == 0 && j == n - 1)
                    continue;
                const double rest = r * std::sqrt(2.0 - 2.0 * std::cos(2.0 * kPi * (j - i) * d / n));
                if (Spring* s = AddSpring(nodes[i], nodes[j], rest, temporary, n, 1.0))
                {
                    s->mFlags |= Spring::kChord;
                    ++mNumChordSprings;
                    mNumTemporarySprings += temporary ? 1 : 0;
                }
            }
            if (n > 3)
            {
                SpringNode* target = NewSpringNode();
                nodes[n + i] = target;
                if (Spring* s = AddSpring(target, nodes[i], 0.0, temporary, -1, 1.0))
                {
                    s->mFlags |= Spring::kTarget;
                    ++mNumTargetSprings;
                    mNumTemporarySprings += temporary ? 1 : 0;
                }
            }
        }
    }
    BuildNeighbourLists();
}

void SpringSystem::BuildNeighbourLists()
{
    SpringNetwork& net = GetSpringNetwork();
    for (SpringNode* node = net.mFirstNode; node; node = node->next)
        node->mNumNeighbours = 0;
    for (Spring* s = net.mFirstSpring; s; s = s->next)
    {
        if (s->mFlags & Spring::kEdge)
        {
            ++s->mNodes[0]->mNumNeighbours;
            ++s->mNodes[1]->mNumNeighbours;
        }
    }
    for (SpringNode* node = net.mFirstNode; node; node = node->next)
    {
        node->mNeighbours.reset(node->mNumNeighbours > 0 ? new SpringNode*[size_t(node->mNumNeighbours)] : nullptr);
        node->mNumNeighbours = 0;
    }
    for (Spring* s = net.mFirstSpring; s; s = s->next)
    {
        if (s->mFlags & Spring::kEdge)
        {
            SpringNode* a = s->mNodes[0];
            SpringNode* b = s->mNodes[1];
            a->mNeighbours[size_t(a->mNumNeighbours++)] = b;
            b->mNeighbours[size_t(b->mNumNeighbours++)] = a;
        }
    }
}

int SpringSystem::CreateHopSprings(int hopLimit)
{
    struct Item
    {
        SpringNode* node;
        int hops;
    };
    std::vector<Item> queue;
    std::vector<SpringNode*> visited;
    int made = 0;
    int maxHops = 0;
    for (SpringNode* start = GetSpringNetwork().mFirstNode; start; start = start->next)
    {
        queue.clear();
        queue.push_back({start, 0});
        start->mFlags |= SpringNode::kVisited;
        visited.push_back(start);
        for (size_t head = 0; head < queue.size(); ++head)
        {
            const Item item = queue[head];
            if (item.hops >= hopLimit)
                break;
            for (int k = 0; k < item.node->mNumNeighbours; ++k)
            {
                SpringNode* m = item.node->mNeighbours[k];
                if (m->mFlags & SpringNode::kVisited)
                    continue;
                const int hops = item.hops + 1;
                queue.push_back({m, hops});
                m->mFlags |= SpringNode::kVisited;
                visited.push_back(m);
                if (hops > maxHops)
                    maxHops = hops;
                if (hops >= 2 && AddSpring(start, m, hops, true, -1, 1.0))
                    ++made;
            }
        }
        for (SpringNode* node : visited)
            node->mFlags &= ~SpringNode::kVisited;
        visited.clear();
    }
    DebugTrace("  Max %d hops\n", maxHops);
    return made;
}

void SpringSystem::SetStartPositions()
{
    SpringNetwork& net = GetSpringNetwork();
    // Every attempt starts at rest: what moved the nodes of the last one says nothing of this one.
    for (SpringNode* node = net.mFirstNode; node; node = node->next)
        node->mVel = Vec4D{};

    if (mFlags & kStartFromModel)
    {
        SpringNode* node = net.mFirstNode;
        auto nextVertexNode = [&node]() {
            while (node && !(node->mFlags & SpringNode::kPolygonVertex))
                node = node->next;
            SpringNode* found = node;
            if (node)
                node = node->next;
            return found;
        };
        bool verticesLeft = false;
        if (mSourceTope)
        {
            for (Element4D* e = mSourceTope->mFirstVert; e; e = e->next)
            {
                SpringNode* target = nextVertexNode();
                if (!target)
                {
                    verticesLeft = true;
                    break;
                }
                target->mPos = static_cast<Vert4D*>(e)->mPos;
            }
        }
        else if (mSourcePoly)
        {
            for (FaceVert* v = mSourcePoly->mVerts.mFirst; v; v = v->mNext)
            {
                SpringNode* target = nextVertexNode();
                if (!target)
                {
                    verticesLeft = true;
                    break;
                }
                target->mPos = Vec4D{v->mPoint.x, v->mPoint.y, v->mPoint.z, 0.0};
            }
        }
        if (nextVertexNode())
            ErrorMessage("The spring description has more vertices\nthan the model it was made from.");
        else if (verticesLeft)
            ErrorMessage("The spring description has fewer vertices\nthan the model it was made from.");
        NormaliseEdgeLength();
        return;
    }

    SpringNode* node = net.mFirstNode;
    const std::vector<Layer> layers = ReadLayers(mLayerText);
    const int numLayers = int(layers.size());
    for (int k = 0; k < numLayers && node; ++k)
    {
        const Layer& layer = layers[size_t(k)];
        const double y = numLayers == 1 ? 1.0 : 1.0 - 2.0 * k / (numLayers - 1);
        if (layer.count == 1)
        {
            node->mPos = Vec4D{0.0, y, 0.0, 0.0};
            node = node->next;
            continue;
        }
        // A layer larger than the network stops at its last node.
        const double s = layer.halfStep ? 0.5 : 0.0;
        for (int j = 0; j < layer.count && node; ++j, node = node->next)
        {
            const double a = ((j + s) / layer.count) * layer.density * 2.0 * kPi;
            node->mPos = Vec4D{std::cos(a), y, -std::sin(a), 0.0};
        }
    }
    const bool is4D = net.mIs4D;
    for (; node; node = node->next)
    {
        if (!(node->mFlags & SpringNode::kPolygonVertex))
            continue;
        node->mPos.z = RandomUnit();
        node->mPos.y = RandomUnit();
        node->mPos.x = RandomUnit();
        if (is4D)
            node->mPos.w = RandomUnit();
    }
    NormaliseEdgeLength();
}

void SpringSystem::NormaliseEdgeLength()
{
    SpringNetwork& net = GetSpringNetwork();
    double sum = 0.0;
    int count = 0;
    for (Spring* s = net.mFirstSpring; s; s = s->next)
    {
        if (s->mFlags & Spring::kEdge)
        {
            sum += Distance(s->mNodes[0]->mPos, s->mNodes[1]->mPos);
            ++count;
        }
    }
    // Nodes that all lie in one place have no size to divide by.
    const double mean = count > 0 ? sum / count : 0.0;
    if (!(mean > kCoincident) || !std::isfinite(mean))
        return;
    for (SpringNode* node = net.mFirstNode; node; node = node->next)
    {
        if (node->mFlags & SpringNode::kPolygonVertex)
            Vec4Div(node->mPos, mean);
    }
}

void SpringSystem::CentreNodes()
{
    SpringNetwork& net = GetSpringNetwork();
    Vec4D sum;
    int count = 0;
    for (SpringNode* node = net.mFirstNode; node; node = node->next)
    {
        if (IsActiveVertex(node))
        {
            Vec4Add(sum, sum, node->mPos);
            ++count;
        }
    }
    if (count == 0)
        return;
    Vec4Div(sum, count);
    for (SpringNode* node = net.mFirstNode; node; node = node->next)
        Vec4Sub(node->mPos, node->mPos, sum);
}

double SpringSystem::TimeStep(double dt, bool regular)
{
    TraceScope trace("TimeStep");
    SpringNetwork& net = GetSpringNetwork();
    for (SpringPolygon* polygon = net.mFirstPolygon; polygon; polygon = polygon->next)
    {
        const int n = polygon->mNumSides;
        if (n <= 3)
            continue;
        SpringNode** nodes = polygon->mNodes.get();
        Vec4D g;
        for (int i = 0; i < n; ++i)
            Vec4Add(g, g, nodes[i]->mPos);
        Vec4Div(g, n);
        if (regular)
        {
            int d = polygon->mDensity;
            const int e = 2 * d > n ? n - d : d;
            for (int i = 0; i < n; ++i)
            {
                Vec4D v;
                if (n % 2 == 0)
                    Vec4Sub(v, g, nodes[(i + n / 2) % n]->mPos);
                else
                {
                    const int h = (i + (n - 1) / 2) % n;
                    Vec4D mid;
                    Vec4Add(mid, nodes[h]->mPos, nodes[(h + 1) % n]->mPos);
                    Vec4Scale(mid, 0.5);
                    Vec4Sub(v, g, mid);
                    if (e % 2 == 0)
                        Vec4Negate(v);
                }
                Vec4D& target = nodes[n + i]->mPos;
                if (Vec4IsZero(v, kTol))
                    target = Vec4D{};
                else
                    Vec4AddScaled(target, g, polygon->mCircumradius / Vec4Length(v), v);
            }
        }
        else
        {
            // The plane through the centroid whose normal is the polygon's vector area.
            Vec3D normal{};
            const Vec4D& p0 = nodes[0]->mPos;
            Vec3D prev{nodes[1]->mPos.x - p0.x, nodes[1]->mPos.y - p0.y, nodes[1]->mPos.z - p0.z};
            for (int j = 2; j < n; ++j)
            {
                const Vec3D cur{nodes[j]->mPos.x - p0.x, nodes[j]->mPos.y - p0.y, nodes[j]->mPos.z - p0.z};
                Vec3D c;
                Vec3Cross(c, prev, cur);
                Vec3Add(normal, normal, c);
                prev = cur;
            }
            const double lengthSq = Vec3Dot(normal, normal);
            if (lengthSq > kTol)
            {
                Vec3Scale(normal, normal, 1.0 / std::sqrt(lengthSq));
                for (int i = 0; i < n; ++i)
                {
                    const Vec4D& p = nodes[i]->mPos;
                    const double h = (p.x - g.x) * normal.x + (p.y - g.y) * normal.y + (p.z - g.z) * normal.z;
                    Vec4D& target = nodes[n + i]->mPos;
                    target.x = p.x - h * normal.x;
                    target.y = p.y - h * normal.y;
                    target.z = p.z - h * normal.z;
                }
            }
        }
    }

    for (SpringNode* node = net.mFirstNode; node; node = node->next)
        Vec4Scale(node->mVel, 0.5);

    double largest = 0.0;
    const bool is4D = net.mIs4D;
    for (Spring* s = net.mFirstSpring; s; s = s->next)
    {
        SpringNode* a = s->mNodes[0];
        SpringNode* b = s->mNodes[1];
        Vec4D delta;
        Vec4Sub(delta, b->mPos, a->mPos);
        const double length = Vec4Length(delta);
        const double f = (length - s->mRest) * s->mStiffness;
        if (f == 0.0)
            continue;
        if (length > kCoincident)
            Vec4Scale(delta, f / length * dt);
        else
        {
            delta = DirectionOfPair(a, b, is4D);
            Vec4Scale(delta, f * dt);
        }
        Vec4Add(a->mVel, a->mVel, delta);
        Vec4Sub(b->mVel, b->mVel, delta);
        const double magnitude = std::fabs(f);
        // A force that is not a number ends the run: it would spread over the whole network.
        if (!(magnitude <= largest))
            largest = std::isnan(magnitude) ? std::numeric_limits<double>::infinity() : magnitude;
    }

    for (SpringNode* node = net.mFirstNode; node; node = node->next)
        Vec4AddScaled(node->mPos, node->mPos, dt, node->mVel);
    return largest;
}

double SpringSystem::SettleOnceB(bool regular, int relaxLimit)
{
    TraceScope trace("SettleOnceB");
    SpringNetwork& net = GetSpringNetwork();
    int numTargets = 0;
    if (relaxLimit > 0)
    {
        for (Spring* s = net.mFirstSpring; s; s = s->next)
            numTargets += (s->mFlags & Spring::kTarget) ? 1 : 0;
    }

    int steps = 0;
    int sinceBest = 0;
    int longestStable = 0;
    double best = 9.9e40;
    double force = 0.0;
    do
    {
        if (relaxLimit > 0)
        {
            double removed = 0.0;
            for (Spring* s = net.mFirstSpring; s;)
            {
                Spring* next = s->next;
                if (s->mTag >= 1 && s->mTag <= relaxLimit)
                {
                    const double old = s->mStiffness;
                    s->mStiffness *= 0.5;
                    if (s->mStiffness < kVanishingStiffness)
                    {
                        removed += old;
                        DeleteSpring(s);
                    }
                    else
                        removed += old - s->mStiffness;
                }
                s = next;
            }
            if (numTargets > 0 && removed > 0.0)
            {
                const double share = removed / numTargets;
                for (Spring* s = net.mFirstSpring; s; s = s->next)
                {
                    if (s->mFlags & Spring::kTarget)
                        s->mStiffness += share;
                }
            }
        }
        if (steps > kStepLimit)
        {
            DebugTrace("STEP LIMIT REACHED!\n");
            break;
        }
        force = TimeStep(kTimeStep, regular);
        CentreNodes();
        if (!std::isfinite(force))
            break;
        if (!ShowProgress(steps / (steps + 100.0), "%d iterations, force remaining in springs %g", steps, force))
        {
            mCancelled = true;
            break;
        }
        if (force <= 0.0)
            break;
        if (force < best)
        {
            best = force;
            sinceBest = 0;
        }
        else if (++sinceBest > longestStable)
            longestStable = sinceBest;
        ++steps;
    } while (sinceBest < kStableSteps);
    DebugTrace(" Final force = %g (min %g), took %d steps, %d springs, stable %d steps\n", force, best, steps,
               net.mNumSprings, longestStable);
    return force;
}

double SpringSystem::SettleOnceA()
{
    TraceScope trace("SettleOnceA");
    ScopedWaitCursor wait;
    SetStartPositions();
    int numTemporary = mNumTemporarySprings;
    if (mFlags & kAddHopSprings)
        numTemporary += CreateHopSprings(mHopLimit);

    const double edges = mNumEdgeSprings;
    const double shaped = (mNumChordSprings > 0 ? mNumChordSprings : 1) + (mNumTargetSprings > 0 ? mNumTargetSprings : 1);
    const double stiffA = edges / shaped * 0.33333;
    const double stiffB = edges / (numTemporary > 0 ? numTemporary : 1) * 0.25;
    for (Spring* s = GetSpringNetwork().mFirstSpring; s; s = s->next)
    {
        if (s->mFlags & (Spring::kChord | Spring::kTarget))
            s->mStiffness = stiffA;
        else if (s->mFlags & Spring::kTemporary)
            s->mStiffness = stiffB;
    }

    double force = SettleOnceB(true, -1);
    if (std::isfinite(force) && RemoveTemporarySprings())
        force = SettleOnceB(true, -1);
    if (std::isfinite(force) && mPlanarityLimit > 0)
        force = SettleOnceB(false, mPlanarityLimit);
    if (force > kTol)
        DebugTrace(" FINAL FORCE NON_ZERO: %g\n", force);
    return force;
}

bool SpringSystem::RemoveTemporarySprings()
{
    TraceScope trace("RemoveTemporarySprings");
    bool removed = false;
    for (Spring* s = GetSpringNetwork().mFirstSpring; s;)
    {
        Spring* next = s->next;
        if (s->mFlags & Spring::kTemporary)
        {
            DeleteSpring(s);
            removed = true;
        }
        s = next;
    }
    if (removed)
        NormaliseEdgeLength();
    return removed;
}

double SpringSystem::Settle(int attempts)
{
    double force = std::numeric_limits<double>::infinity();
    mCancelled = false;
    int failed = 0;
    {
        ProgressScope progress;
        CreateSprings();
        for (int attempt = 0; attempt < attempts; ++attempt)
        {
            force = SettleOnceA();
            if (force < kTol || (mFlags & kStartFromModel) || mCancelled)
                break;
            ++failed;
        }
    }
    // A network that blew up has no positions worth keeping.
    const bool usable = std::isfinite(force);
    if (GetSpringNetwork().mIs4D)
    {
        if (force < kTol)
            CopyToPolytope();
    }
    else if (usable)
    {
        CreateSimplePoly();
        if ((mFlags & kStartFromModel) && mSourcePoly && mResult &&
            mResult->mNumFaces == mSourcePoly->mFaces.mCount)
        {
            bool alike = true;
            int k = 0;
            for (FaceVert* f = mSourcePoly->mFaces.mFirst; f && alike; f = f->mNext, ++k)
                alike = mResult->mFaces[k].mNum == f->mNumSides;
            if (alike)
            {
                k = 0;
                for (FaceVert* f = mSourcePoly->mFaces.mFirst; f; f = f->mNext, ++k)
                {
                    mResult->mFaces[k].mColor = ColorToRGB(f->mColor);
                    mResult->mFaces[k].mBackColor = ColorToRGB(f->mBackColor);
                }
                mResult->mFlags |= SimplePoly::kKeepBaseColors;
            }
        }
    }
    ResetSpringNetwork();
    if (failed > 1)
        DebugTrace("Took %d attempts\n\n", failed);
    return usable ? force : std::numeric_limits<double>::infinity();
}

void SpringSystem::CreateSimplePoly()
{
    auto result = std::make_unique<SimplePoly>(mNumNodes, mNumPolygons);
    SpringNetwork& net = GetSpringNetwork();
    SpringNode* node = net.mFirstNode;
    for (int k = 0; k < mNumNodes && node; ++k, node = node->next)
    {
        SimpleVert& vert = result->mVerts[k];
        vert.SetPosXYZ(node->mPos.x, node->mPos.y, node->mPos.z);
        if (!IsActiveVertex(node))
            vert.mFlags |= SimpleElem::kTemp;
    }
    SpringPolygon* polygon = net.mFirstPolygon;
    for (int k = 0; k < mNumPolygons && polygon; ++k, polygon = polygon->next)
    {
        SimpleFace& face = result->mFaces[k];
        face.SetNumVerts(polygon->mNumSides, polygon->mDensity);
        for (int i = 0; i < polygon->mNumSides; ++i)
        {
            const SpringNode* corner = polygon->mNodes[i];
            if (corner && corner->mIndex < mNumNodes)
                face.SetVert(i, &result->mVerts[corner->mIndex]);
        }
        if (polygon->mFlags & SpringPolygon::kHidden)
            face.mFlags |= SimpleElem::kTemp;
    }
    mResult = std::move(result);
    ResetSpringNetwork();
}

void SpringSystem::CopyToPolytope()
{
    if (!mSourceTope)
        return;
    SpringNode* node = GetSpringNetwork().mFirstNode;
    for (Element4D* e = mSourceTope->mFirstVert; e && node; e = e->next, node = node->next)
        static_cast<Vert4D*>(e)->mPos = node->mPos;
}
