#pragma once

#include <span>

namespace stokara::demo {

// The words a village dairy shop in North India is made of. Plain data, kept
// apart from the generator so the generator reads as rules.

enum class QtyKind {
    Bags,  // whole bags, one or two at a time
    Packs, // whole packets, tins, bottles
    Loose, // weighed out in kilograms
};

struct CatalogueItem {
    const char* name; // upper case, as the item master stores it
    const char* unit; // one of the item master's unit words
    double rate;      // sale rate today
    bool main;        // has a bill of materials
    QtyKind qty;
    double popularity; // relative share of sale lines
};

struct CatalogueBomLine {
    const char* mainItem;
    const char* subItem;
    double kg; // kilograms of the sub-item in one unit of the main item
};

struct CatalogueHead {
    const char* head;
    const char* group;  // one of the four account groups
    const char* vType;  // the side its vouchers usually take
    const char* remark; // "%1" becomes the month, e.g. "Rent for April"
    int minAmount;
    int maxAmount;
};

struct CatalogueVendor {
    const char* name;
    const char* address;
    const char* city;
};

std::span<const CatalogueItem> catalogueItems();
std::span<const CatalogueBomLine> catalogueBom();
// Brand words put before a catalogue item when a shop asks for more items than the catalogue has.
std::span<const char* const> itemBrands();
std::span<const CatalogueHead> catalogueHeads();
std::span<const CatalogueVendor> catalogueVendors();
std::span<const char* const> villages();
std::span<const char* const> maleFirstNames();
std::span<const char* const> femaleFirstNames();
std::span<const char* const> surnames();

} // namespace stokara::demo
