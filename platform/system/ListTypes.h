#pragma once
// Values and error texts shared by the pointer, object, thread and string lists.

// What a sorted or duplicate-checked list does with a value it already holds.
enum TDuplicates { dupIgnore, dupAccept, dupError };

// Why TList::Notify is called: an item joined the list, was taken out without being freed,
// or was deleted.
enum TListNotification { lnAdded, lnExtracted, lnDeleted };

// The platform's list error texts; "%d" is the offending index or size.
constexpr const char* SListIndexError = "List index out of bounds (%d)";
constexpr const char* SListCapacityError = "List capacity out of bounds (%d)";
constexpr const char* SListCountError = "List count out of bounds (%d)";
constexpr const char* SDuplicateItem = "Duplicates not allowed";
constexpr const char* SSortedListError = "Operation not allowed on sorted list";
