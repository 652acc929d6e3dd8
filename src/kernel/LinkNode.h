#pragma once

// Intrusive list links. A node of a doubly linked list derives from LinkNode<Node> and its owner keeps
// head and tail pointers; a node of a circular list derives from RingNode<Node> and its owner keeps the
// ring's first node. A derived constructor that takes the owner's pointers links the new node itself
// (ListAppend, RingJoin): the base cannot, since `this` is not yet a Node while the base is built.
// Destructors never unlink: whoever deletes a node unlinks it first.

template <class Node>
class LinkNode
{
public:
    Node* next = nullptr;
    Node* prev = nullptr;

    virtual ~LinkNode() = default;

protected:
    LinkNode() = default;
    LinkNode(const LinkNode&) = delete;
    LinkNode& operator=(const LinkNode&) = delete;
};

template <class Node>
class RingNode
{
public:
    Node* next = nullptr;
    Node* prev = nullptr;

    virtual ~RingNode() = default;

protected:
    RingNode() = default;
    RingNode(const RingNode&) = delete;
    RingNode& operator=(const RingNode&) = delete;
};

template <class Node>
void ListAppend(Node* node, Node*& head, Node*& tail)
{
    node->next = nullptr;
    node->prev = tail;
    if (tail)
        tail->next = node;
    else
        head = node;
    tail = node;
}

// Links node directly before `before`; a null `before` appends at the tail.
template <class Node>
Node* ListInsertBefore(Node* before, Node* node, Node*& head, Node*& tail)
{
    if (!node)
        return nullptr;
    if (!before)
    {
        ListAppend(node, head, tail);
        return node;
    }
    node->prev = before->prev;
    if (before->prev)
        before->prev->next = node;
    else
        head = node;
    node->next = before;
    before->prev = node;
    return node;
}

template <class Node>
void ListRemove(Node* node, Node*& head, Node*& tail)
{
    if (node->prev)
        node->prev->next = node->next;
    else
        head = node->next;
    if (node->next)
        node->next->prev = node->prev;
    else
        tail = node->prev;
    node->next = nullptr;
    node->prev = nullptr;
}

// Deletes every node of a list owned through head and tail.
template <class Node>
void ListDeleteAll(Node*& head, Node*& tail)
{
    while (head)
    {
        Node* next = head->next;
        delete head;
        head = next;
    }
    tail = nullptr;
}

// Makes node a ring of its own.
template <class Node>
void RingMakeLone(Node* node)
{
    node->next = node;
    node->prev = node;
}

// Links a lone node into a ring directly before `at`.
template <class Node>
void RingInsertBefore(Node* at, Node* node)
{
    node->prev = at->prev;
    node->next = at;
    at->prev->next = node;
    at->prev = node;
}

// Adds node at the end of the ring, before its first node; an empty ring gets node as its first node.
template <class Node>
void RingJoin(Node* node, Node*& first)
{
    if (first)
        RingInsertBefore(first, node);
    else
    {
        RingMakeLone(node);
        first = node;
    }
}

// Takes node out of its ring, leaving it a ring of its own.
template <class Node>
void RingUnlink(Node* node)
{
    node->prev->next = node->next;
    node->next->prev = node->prev;
    RingMakeLone(node);
}
