#include "catalogue.h"

namespace stokara::demo {

namespace {

// Order matters: a shop of the first ten items already has both feeds that are
// mixed in the shop and every ingredient of the first.
const CatalogueItem kItems[] = {
    {"CATTLE FEED PELLETS 50KG", "Bags", 1350.00, false, QtyKind::Bags, 10},
    {"MINERAL MIXTURE 1KG", "Pcs", 95.00, false, QtyKind::Packs, 6},
    {"DAIRY MIX FEED 50KG", "Bags", 1240.00, true, QtyKind::Bags, 8},
    {"MAIZE GRAIN", "Weight", 26.00, false, QtyKind::Loose, 1.5},
    {"COTTONSEED CAKE", "Weight", 38.00, false, QtyKind::Loose, 2},
    {"WHEAT BRAN", "Weight", 22.00, false, QtyKind::Loose, 2},
    {"GHEE 1L TIN", "Tin", 620.00, false, QtyKind::Packs, 2},
    {"MILK POWDER 500G", "Pouch", 215.00, false, QtyKind::Packs, 1.5},
    {"CALCIUM LIQUID 1L", "Bottle", 160.00, false, QtyKind::Packs, 3},
    {"SALT", "Weight", 12.00, false, QtyKind::Loose, 0.5},
    {"CALF STARTER 25KG", "Bags", 780.00, true, QtyKind::Bags, 2.5},
    {"MUSTARD CAKE", "Weight", 34.00, false, QtyKind::Loose, 2},
    {"BYPASS FAT 1KG", "Pcs", 185.00, false, QtyKind::Packs, 1.5},
    {"TEAT DIP 500ML", "Bottle", 240.00, false, QtyKind::Packs, 0.7},
    {"LIVER TONIC 1L", "Bottle", 210.00, false, QtyKind::Packs, 1.2},
    {"BUTTER 500G", "Box", 265.00, false, QtyKind::Packs, 1},
    {"CURD 400G", "Cup", 35.00, false, QtyKind::Packs, 1.5},
    {"MILK CAN 40L", "Pcs", 2400.00, false, QtyKind::Packs, 0.2},
    {"MILKING BUCKET", "Pcs", 450.00, false, QtyKind::Packs, 0.3},
    {"PLASTIC CRATE", "Crates", 310.00, false, QtyKind::Packs, 0.3},
};

const CatalogueBomLine kBom[] = {
    {"DAIRY MIX FEED 50KG", "MAIZE GRAIN", 18.00},
    {"DAIRY MIX FEED 50KG", "COTTONSEED CAKE", 14.50},
    {"DAIRY MIX FEED 50KG", "WHEAT BRAN", 15.00},
    {"DAIRY MIX FEED 50KG", "MINERAL MIXTURE 1KG", 1.00},
    {"DAIRY MIX FEED 50KG", "SALT", 0.50},
    {"DAIRY MIX FEED 50KG", "MUSTARD CAKE", 1.00},
    {"CALF STARTER 25KG", "MAIZE GRAIN", 11.00},
    {"CALF STARTER 25KG", "WHEAT BRAN", 6.50},
    {"CALF STARTER 25KG", "MUSTARD CAKE", 6.00},
    {"CALF STARTER 25KG", "MINERAL MIXTURE 1KG", 1.00},
    {"CALF STARTER 25KG", "SALT", 0.50},
};

const char* const kBrands[] = {"AMRIT", "GOLD",  "SUPREME", "KISAN",  "VERKA",
                               "NANDI", "GOPAL", "SAHAYOG", "SHAKTI", "UTTAM"};

const CatalogueHead kHeads[] = {
    {"Shop Rent", "Sundry Expenses", "Dr", "Rent for %1", 3000, 6000},
    {"Electricity Bill", "Sundry Expenses", "Dr", "Electricity bill %1", 600, 2500},
    {"Staff Salary", "Sundry Expenses", "Dr", "Salary for %1", 6000, 12000},
    {"Transport Charges", "Sundry Expenses", "Dr", "Tractor trolley hire", 300, 2500},
    {"Telephone Expenses", "Sundry Expenses", "Dr", "Mobile recharge", 199, 599},
    {"Commission Received", "Sundry Income", "Cr", "Feed company commission %1", 1000, 5000},
    {"Empty Bag Sale", "Sundry Income", "Cr", "Empty bags sold", 150, 900},
    {"Bank Deposit", "Sundry Assets", "Dr", "Cash deposited in bank", 5000, 40000},
    {"Furniture", "Sundry Assets", "Dr", "Counter and racks", 2000, 9000},
    {"Security Deposit", "Sundry Liabilities", "Cr", "Security from VLCC", 1000, 5000},
    {"Bank Loan", "Sundry Liabilities", "Cr", "Loan instalment received", 10000, 50000},
};

const CatalogueVendor kVendors[] = {
    {"Amrit Feeds Pvt Ltd", "Industrial Area Phase 2", "Bathinda"},
    {"Sai Cattle Feed Mill", "G.T. Road", "Khanna"},
    {"Gopal Agro Traders", "Grain Market", "Sangrur"},
    {"Shree Ganesh Traders", "Main Bazar", "Barnala"},
    {"Kisan Mineral Works", "Focal Point", "Ludhiana"},
    {"Punjab Veterinary Stores", "Near Civil Hospital", "Mansa"},
    {"Bharat Dairy Equipments", "Railway Road", "Patiala"},
    {"Malwa Oil Mills", "Mandi Road", "Moga"},
};

const char* const kVillages[] = {
    "Rampura", "Kheri",    "Bhagwanpur", "Nangal",      "Sultanpur", "Dhanaula",
    "Mehna",   "Kalyan",   "Bhaini",     "Chak Kalan",  "Jodhpur",   "Kotli",
    "Saidpur", "Talwandi", "Bhikhi",     "Dhaner",      "Handiaya",  "Khudi Kalan",
    "Ghunas",  "Jalal",    "Phulewala",  "Ratta Khera", "Sekha",     "Uppli",
};

const char* const kMaleNames[] = {
    "Gurpreet", "Harjinder", "Balwinder",  "Sukhdev",    "Ramesh",   "Suresh",     "Mahesh",
    "Rajesh",   "Jagdish",   "Ram Kishan", "Om Prakash", "Satpal",   "Rajinder",   "Kuldeep",
    "Jaswant",  "Mohinder",  "Baldev",     "Karnail",    "Surinder", "Dharam Pal", "Ashok",
    "Vinod",    "Sunil",     "Anil",       "Manoj",      "Pawan",    "Sanjay",     "Raj Kumar",
    "Naresh",   "Dinesh",    "Krishan",    "Mukesh",     "Gurdev",   "Jarnail",    "Amarjit",
    "Lakhvir",  "Hardeep",   "Tarsem",     "Bhupinder",  "Darshan",
};

const char* const kFemaleNames[] = {
    "Kamla Devi",    "Santosh",      "Savitri Devi", "Sunita",      "Manjit Kaur",
    "Paramjit Kaur", "Gurmeet Kaur", "Raj Rani",     "Shanti Devi", "Krishna Devi",
};

const char* const kSurnames[] = {
    "Singh",     "Kumar", "Sharma", "Yadav", "Sandhu", "Gill",  "Dhillon", "Sidhu",
    "Chaudhary", "Malik", "Saini",  "Brar",  "Grewal", "Verma", "Garg",    "Mann",
};

} // namespace

std::span<const CatalogueItem> catalogueItems() {
    return kItems;
}
std::span<const CatalogueBomLine> catalogueBom() {
    return kBom;
}
std::span<const char* const> itemBrands() {
    return kBrands;
}
std::span<const CatalogueHead> catalogueHeads() {
    return kHeads;
}
std::span<const CatalogueVendor> catalogueVendors() {
    return kVendors;
}
std::span<const char* const> villages() {
    return kVillages;
}
std::span<const char* const> maleFirstNames() {
    return kMaleNames;
}
std::span<const char* const> femaleFirstNames() {
    return kFemaleNames;
}
std::span<const char* const> surnames() {
    return kSurnames;
}

} // namespace stokara::demo
