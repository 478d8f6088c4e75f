#pragma once
// The list behind nearly every list of the system: item copies in order with
// a cursor. The cursor may stand on no item (index -1); the standard
// traversal is
//     list.Reset(); while (!list.AtLast()) { T* item = list.Next(); ... }
#include <cstdint>
#include <iterator>
#include <list>
#include <utility>

namespace qnr {

template <class T>
class LinkListObj {
public:
    LinkListObj() = default;
    ~LinkListObj() { RemoveAll(); }

    LinkListObj(const LinkListObj& other) : items_(other.items_) { MoveCursorTo(other.current_); }
    LinkListObj& operator=(const LinkListObj& other) {
        if (this != &other) {
            items_ = other.items_;
            MoveCursorTo(other.current_);
        }
        return *this;
    }
    // An end iterator does not survive a move, so the cursor goes by its index.
    LinkListObj(LinkListObj&& other) noexcept : items_(std::move(other.items_)) {
        MoveCursorTo(other.current_);
        other.RemoveAll();
    }
    LinkListObj& operator=(LinkListObj&& other) noexcept {
        if (this != &other) {
            std::int32_t index = other.current_;
            items_ = std::move(other.items_);
            MoveCursorTo(index);
            other.RemoveAll();
        }
        return *this;
    }

    std::int32_t CurrentIndex() const { return current_; }
    std::int32_t LastIndex() const { return static_cast<std::int32_t>(items_.size()) - 1; }
    std::int32_t Count() const { return static_cast<std::int32_t>(items_.size()); }
    bool IsEmpty() const { return items_.empty(); }
    // True also for an empty list.
    bool AtFirst() const { return items_.empty() || cursor_ == items_.begin(); }
    bool AtLast() const { return items_.empty() || (cursor_ != items_.end() && std::next(cursor_) == items_.end()); }

    // The item under the cursor, null when there is none.
    T* CurrentItem() { return cursor_ == items_.end() ? nullptr : &*cursor_; }

    void RemoveAll() {
        items_.clear();
        cursor_ = items_.end();
        current_ = -1;
    }

    void Reset() {
        cursor_ = items_.end();
        current_ = -1;
    }

    // The first item without a current one, else the following one; null
    // past the last, where the cursor is left on no item.
    T* Next() {
        if (cursor_ == items_.end()) {
            if (items_.empty()) return nullptr;
            cursor_ = items_.begin();
            current_ = 0;
        } else {
            ++cursor_;
            current_ = cursor_ == items_.end() ? -1 : current_ + 1;
        }
        return CurrentItem();
    }

    // The preceding item; null before the first (cursor on no item) or
    // without a current item.
    T* Prev() {
        if (cursor_ == items_.end()) return nullptr;
        if (cursor_ == items_.begin()) {
            Reset();
            return nullptr;
        }
        --cursor_;
        --current_;
        return CurrentItem();
    }

    // Null, cursor unchanged, unless 0 <= i <= LastIndex().
    T* ItemAt(std::int32_t i) {
        if (i < 0 || i > LastIndex()) return nullptr;
        if (current_ < 0) Next();
        while (current_ < i) Next();
        while (current_ > i) Prev();
        return CurrentItem();
    }

    void GoLast() {
        if (items_.empty()) return Reset();
        cursor_ = std::prev(items_.end());
        current_ = LastIndex();
    }

    // The copy becomes the first item and the current one.
    void InsertFirst(const T& item) {
        cursor_ = items_.insert(items_.begin(), item);
        current_ = 0;
    }

    // As InsertFirst without a current item; else the copy follows the
    // current item and becomes current.
    void InsertAfterCurrent(const T& item) {
        if (cursor_ == items_.end()) return InsertFirst(item);
        cursor_ = items_.insert(std::next(cursor_), item);
        ++current_;
    }

    // The previous item becomes current (none when the first was deleted).
    void DeleteCurrent() {
        if (cursor_ == items_.end()) return;
        const bool wasFirst = cursor_ == items_.begin();
        auto prev = wasFirst ? items_.end() : std::prev(cursor_);
        items_.erase(cursor_);
        cursor_ = prev;
        current_ = wasFirst ? -1 : current_ - 1;
    }

private:
    void MoveCursorTo(std::int32_t index) {
        Reset();
        if (index >= 0 && index <= LastIndex()) ItemAt(index);
    }

    std::list<T> items_;
    typename std::list<T>::iterator cursor_ = items_.end();
    std::int32_t current_ = -1;
};

// A list kept in ascending order by Greater.
template <class T>
class SortableLinkList : public LinkListObj<T> {
public:
    virtual ~SortableLinkList() = default;

    // True when a orders after b.
    virtual bool Greater(const T& a, const T& b) const = 0;

    // Inserts after every item that is not greater, so equal items keep the
    // order of their insertion. The search starts at the cursor, which makes
    // runs of inserts in nearly sorted order cheap; the new item becomes current.
    void InsertSorted(const T& item) {
        if (this->IsEmpty()) return this->InsertFirst(item);
        if (this->CurrentIndex() < 0) this->Next();
        if (!Greater(*this->CurrentItem(), item)) {
            while (!this->AtLast() && !Greater(*PeekNext(), item)) this->Next();
            return this->InsertAfterCurrent(item);
        }
        while (!this->AtFirst() && Greater(*this->CurrentItem(), item)) this->Prev();
        if (Greater(*this->CurrentItem(), item))
            this->InsertFirst(item);
        else
            this->InsertAfterCurrent(item);
    }

private:
    const T* PeekNext() {
        const T* next = this->Next();
        this->Prev();
        return next;
    }
};

}  // namespace qnr
