#include "upgrade_steps.h"

#include <string>

namespace stokara::schema {

namespace {

using K = StepKind;
using V = StepValue;

// The first batch. Tables are created with the columns they were first created
// with; every later column is its own step, so an old file and a new one end
// alike. Declared types are those of the old schema; the runner maps them.
const Step kFirstBatch[] = {
    {K::Sql, "masitem", "MainItem",
     "update masitem set MainItem = 'N' where (MainItem is null or MainItem = '')"},

    // Sales, purchases and the cash day book.
    {K::Table, "itemsale", nullptr,
     "Doc_dt datetime, Party_code varchar(10), item_name varchar(40), Qty numeric(9,2), "
     "unit varchar(10), Rate numeric(9,2), Net_amt numeric(9,2), Auto_No counter(1,1)"},
    {K::Column, "itemsale", "Doc_No", "varchar(5)"},
    {K::Column, "itemsale", "Post", "varchar(1)"},
    {K::Column, "itemsale", "category", "varchar(10)"},
    {K::Table, "ItemPurchases", nullptr,
     "Doc_dt datetime, Party_name varchar(40), item_name varchar(40), Qty numeric(9,2), "
     "unit varchar(10), Rate numeric(9,2), Net_amount numeric(9,2), Auto_No counter(1,1)"},
    {K::Table, "daybook", nullptr,
     "auto_No counter (1,1), Dt datetime, AccountHead varchar(20), V_Type Varchar(2), "
     "Net_Amount numeric(9), Remark varchar(100)"},
    {K::Column, "daybook", "party_code", "varchar(5)"},
    {K::Column, "daybook", "Category", "varchar(14)"},
    {K::Table, "accounthead", nullptr,
     "AccountGroup varchar(20), AccountHead varchar(20), Auto_no numeric(9) identity"},
    {K::Column, "accounthead", "AutoNo", "counter (1,1)"},
    {K::Table, "BOM", nullptr, "MainItem varchar(40), SubItem varchar(40), Wt numeric(9,2)"},
    {K::Table, "masvendor", nullptr,
     "Party_Name varchar(40), Add1 varchar(50), city varchar(40), Ph varchar(40), "
     "party_code varchar(10)"},

    // Messages, error log, the shop.
    {K::Table, "MessageLog", nullptr,
     "Doc_Dt datetime, Party_Code varchar(10), Party_Name varchar(40), Message varchar(160), "
     "Message1 varchar(160), status varchar(1)"},
    {K::Column, "MessageLog", "RecordID", "identity(1,1)"},
    {K::Column, "MessageLog", "ReturnMessage", "varchar(200)"},
    {K::Table, "ErrorDesc", nullptr,
     "FormName varchar(100), ErrorDescription varchar(250), ErrorNo varchar(100), "
     "ErrorDate datetime"},
    {K::Table, "compmaster", nullptr,
     "CompName varchar(50), Address1 varchar(200), City varchar(50), TelNo varchar(50), "
     "Mobileno varchar(50)"},
    {K::Column, "compmaster", "compcode", "varchar(2)"},
    {K::Column, "compmaster", "TinNo", "Varchar(20)"},
    // The shop's UPI ID and payee name, for a payment QR on its bills.
    {K::Column, "compmaster", "UpiId", "varchar(100)"},
    {K::Column, "compmaster", "UpiPayee", "varchar(50)"},
    {K::Table, "MasPartyDeleted", nullptr,
     "Party_name varchar(50), Party_Code varchar(10), Category varchar(10)"},

    // Items.
    {K::Column, "masitem", "MainItem", "varchar(1)"},
    {K::Column, "masitem", "OpeBal", "numeric(9)"},
    {K::Column, "masitem", "unit", "varchar(10)"},
    {K::Column, "masitem", "autono", "counter(1,1)"},
    {K::Column, "masitem", "rate", "numeric(9,2)"},

    // Parties.
    {K::Column, "masparty", "CReditLimit", "numeric(9)"},
    {K::Column, "masparty", "CardNo", "varchar(20)"},
    {K::Column, "masparty", "FatherName", "varchar(40)"},
    {K::Column, "masparty", "pan", "varchar(10)"},
    {K::Column, "masparty", "BankName", "varchar(40)"},
    {K::Column, "masparty", "BankBranch", "varchar(40)"},
    {K::Column, "masparty", "AccountName", "varchar(100)"},
    {K::Column, "masparty", "ImagePath", "varchar(100)"},
    {K::Column, "masparty", "SnfCircuit", "varchar(5)"},
    {K::Column, "masparty", "IFSC", "varchar(20)"},
    {K::Column, "masparty", "CRouteWiseRate", "varchar(1)"},
    {K::Column, "masparty", "BRouteWiseRate", "varchar(1)"},
    {K::Column, "masparty", "Active", "varchar(1) default 'Y'"},
    {K::Column, "masparty", "InterestRate", "numeric(9,2)"},
    {K::Column, "masparty", "commper1", "numeric(9,2)"},
    {K::Column, "masparty", "CommType1", "varchar(20)"},
    {K::Column, "masparty", "CommperBuff1", "numeric(9,2)"},
    {K::Column, "masparty", "CommTypeBuff1", "varchar(20)"},
    {K::Column, "masparty", "AcNo", "varchar(20)"},
    {K::Column, "masparty", "category", "varchar(20)"},
    {K::Column, "masparty", "Party_Code", "varchar(10)"},
    {K::Column, "masparty", "stdt", "date"},
    {K::Column, "masparty", "enddt", "date"},
    {K::Column, "masparty", "CommPer", "numeric"},
    {K::Column, "masparty", "CowRateType", "varchar(25)"},
    {K::Column, "masparty", "BuffaloRateType", "varchar(25)"},
    {K::Column, "masparty", "CommType", "varchar(20)"},
    {K::Column, "masparty", "CommperBuff", "numeric(9,2)"},
    {K::Column, "masparty", "CommTypeBuff", "varchar(20)"},

    // Ledger and stock report scratch table.
    {K::Column, "REPLED2", "CATEGORY", "VARCHAR(25)"},
    {K::Column, "REPLED2", "SN", "numeric(4)"},
    {K::Column, "REPLED2", "AutoNo", "identity(1,1)"},
    {K::Column, "REPLED2", "TodayRate", "numeric(9,2)"},
    {K::Column, "REPLED2", "lactokgrate", "numeric(9,2)"},
    {K::Column, "REPLED2", "fatkgrate", "numeric(9,2)"},
    {K::Column, "REPLED2", "snfkgrate", "numeric(9,2)"},
    {K::Column, "REPLED2", "party_code", "varchar(10)"},
    {K::Column, "REPLED2", "RetailB", "NUMERIC(9,2)"},
    {K::Column, "REPLED2", "RetailC", "NUMERIC(9,2)"},
    {K::Column, "REPLED2", "ItemB", "NUMERIC(9,2)"},
    {K::Column, "REPLED2", "ItemC", "NUMERIC(9,2)"},
    {K::Column, "REPLED2", "TtlSift", "NUMERIC(9)"},
    {K::Column, "REPLED2", "MilkSift", "NUMERIC(9)"},
    {K::Column, "REPLED2", "LeftSift", "NUMERIC(9)"},
    {K::Column, "REPLED2", "CowFat", "NUMERIC(9,2)"},
    {K::Column, "REPLED2", "CowSnf", "NUMERIC(9,2)"},
    {K::Column, "REPLED2", "BuffaloFat", "NUMERIC(9,2)"},
    {K::Column, "REPLED2", "BuffaloSnf", "NUMERIC(9,2)"},
    {K::Column, "REPLED2", "Net_Amt1", "numeric(9,2)"},
    {K::Column, "REPLED2", "Wt1", "numeric(9,2)"},
    {K::Column, "REPLED2", "Cattle", "varchar(10)"},
    {K::Column, "REPLED2", "fatkg", "numeric(10,4)"},
    {K::Column, "REPLED2", "snfkg", "numeric(10,4)"},
    {K::Column, "REPLED2", "SubItem", "varchar(40)"},
    {K::Column, "REPLED2", "SubItemWt", "Numeric(9,2)"},
    {K::Column, "REPLED2", "SubItemCons", "Numeric(9,2)"},
    {K::Column, "REPLED2", "MainItem", "varchar(40)"},
    {K::Column, "REPLED2", "MainItemRecd", "numeric(9,2)"},

    // The one settings row shared by all editions.
    {K::Table, "dairysetting", nullptr, "Dairylanguage varchar(50)"},
    {K::Column, "dairysetting", "Fatfrommachine", "varchar(1)"},
    {K::Column, "dairysetting", "Lactofrommachine", "varchar(1)"},
    {K::Column, "dairysetting", "Fatmanual", "varchar(1)"},
    {K::Column, "dairysetting", "Lactomanual", "varchar(1)"},
    {K::Column, "dairysetting", "autoBackup", "varchar(1)"},
    {K::Column, "dairysetting", "Manualbackup", "varchar(1)"},
    {K::Column, "dairysetting", "Partycodeauto", "varchar(1)"},
    {K::Column, "dairysetting", "Partycodemanual", "varchar(1)"},
    {K::Column, "dairysetting", "Weightfromscale", "varchar(1)"},
    {K::Column, "dairysetting", "Weightmanual", "varchar(1)"},
    {K::Column, "dairysetting", "MinSnfC", "varchar(5)"},
    {K::Column, "dairysetting", "MinSnfB", "varchar(5)"},
    {K::Column, "dairysetting", "CowRateRefAmul", "varchar(5)"},
    {K::Column, "dairysetting", "DeduDecimal", "numeric(1)"},
    {K::Column, "dairysetting", "CommOnNetMilk", "varchar(35)"},
    {K::Column, "dairysetting", "CowRateType", "varchar(35)"},
    {K::Column, "dairysetting", "BuffaloRateType", "varchar(35)"},
    {K::Column, "dairysetting", "WtDisable", "varchar(1)"},
    {K::Column, "dairysetting", "StdFat", "varchar(9)"},
    {K::Column, "dairysetting", "StdSnf", "varchar(9)"},
    {K::Column, "dairysetting", "SmsSenderName", "varchar(6)"},
    {K::Column, "dairysetting", "SmsPwd", "varchar(20)"},
    {K::Column, "dairysetting", "SmsId", "varchar(20)"},
    {K::Column, "dairysetting", "SNFCircuit", "varchar(5)"},
    {K::Column, "dairysetting", "RSMC", "varchar(1)"},
    {K::Column, "dairysetting", "RateInCollection", "varchar(1) default '0'"},
    {K::Column, "dairysetting", "MannualSampleNo", "varchar(1) default '0'"},
    {K::Column, "dairysetting", "CanCount", "varchar(1) default '0'"},
    {K::Column, "dairysetting", "SourMilkDeduction", "numeric(9,2)"},
    {K::Column, "dairysetting", "CurdMilkRate", "numeric(9,2)"},
    {K::Column, "dairysetting", "SourCurdMilkDialog", "varchar(1) default '0'"},
    {K::Column, "dairysetting", "CanHandleCharge", "numeric(9,2)"},
    {K::Column, "dairysetting", "DailyRateonEveryEntry", "varchar(1) default '0'"},
    {K::Column, "dairysetting", "MessageSetting", "varchar(1)"},
    {K::Column, "dairysetting", "WebSms", "varchar(1)"},
    {K::Column, "dairysetting", "SMSPort", "varchar(2)"},
    {K::Column, "dairysetting", "SliponMobile", "varchar(1)"},
    {K::Column, "dairysetting", "SnfForumlaType", "varchar(50)"},
    {K::Column, "dairysetting", "F6040_5248", "varchar(6)"},
    {K::Column, "dairysetting", "F6040_5248Bm", "varchar(6)"},
    {K::Column, "dairysetting", "CalcOn", "varchar(3)"},
    {K::Column, "dairysetting", "vendor", "varchar(10)"},
    {K::Column, "dairysetting", "WtDecimal", "varchar(1)"},
    {K::Column, "dairysetting", "MilkPort", "varchar(1)"},
    {K::Column, "dairysetting", "WtPort", "varchar(1)"},
    {K::Column, "dairysetting", "bits", "varchar(4)"},
    {K::Column, "dairysetting", "AutoSnf", "varchar(1)"},
    {K::Column, "dairysetting", "AutoClr", "varchar(1)"},
    {K::Column, "dairysetting", "BackupPath", "varchar(200)"},
    {K::Column, "dairysetting", "Deduction", "varchar(5)"},
    {K::Column, "dairysetting", "BuffaloRange", "varchar(5) default '0'"},
    {K::Column, "dairysetting", "CowRange", "varchar(5) default '0'"},
    {K::Column, "dairysetting", "SNF", "varchar(1) default '0'"},
    {K::Column, "dairysetting", "Lacto", "varchar(1) default '0'"},
    {K::Column, "dairysetting", "Bits0", "varchar(5)"},
    {K::Column, "dairysetting", "CanWeight", "Varchar(5)"},
    {K::Column, "dairysetting", "StdValue", "varchar(5)"},
    {K::Column, "dairysetting", "Remark", "varchar(1) default '0'"},
    {K::Column, "dairysetting", "deductionField", "varchar(1) default '0'"},
    {K::Column, "dairysetting", "SnfD", "Numeric(5) default 0"},
    {K::Column, "dairysetting", "SnfP", "Numeric(5) default 0"},
    {K::Column, "dairysetting", "PrinterPort", "varchar(5) Default 'LPT1'"},
    {K::Column, "dairysetting", "CompName", "varchar(50)"},
    {K::Column, "dairysetting", "PrinterName", "varchar(50)"},
    {K::Column, "dairysetting", "PrintSNF", "varchar(1) default '1'"},
    {K::Column, "dairysetting", "PrintFAT", "varchar(1) default '1'"},
    {K::Column, "dairysetting", "PrintRate", "varchar(1) default '1'"},
    {K::Column, "dairysetting", "PrintLacto", "varchar(1) default '1'"},
    {K::Column, "dairysetting", "PrintBalance", "varchar(1) default '1'"},
    {K::Column, "dairysetting", "PrintTotalWeight", "varchar(1) default '1'"},
    {K::Column, "dairysetting", "BillDate", "datetime"},
    {K::Column, "dairysetting", "BillDate1", "datetime"},
    {K::Column, "dairysetting", "SnfFormula", "varchar(1)"},
    {K::Column, "dairysetting", "DisplayPort", "varchar(2)"},
    {K::Column, "dairysetting", "DisplayBits", "varchar(4)"},
    {K::Column, "dairysetting", "printdeduction", "varchar(1)"},
    {K::Column, "dairysetting", "printbonus", "varchar(1)"},
    {K::Column, "dairysetting", "CanCapacity", "varchar(10)"},
    {K::Column, "dairysetting", "SnfDecimal", "varchar(1)"},
    {K::Column, "dairysetting", "SlipPrinting", "varchar(1) default 'D'"},
    {K::Column, "dairysetting", "MilkAnalyzer", "varchar(20) default 'LactoScan'"},
    {K::Column, "dairysetting", "WeighingScale", "varchar(20) default 'GoldTech'"},
    {K::Column, "dairysetting", "SaveAlert", "varchar(1) default 'Y'"},
    {K::Column, "dairysetting", "AddCommInRate", "varchar(1) default 'N'"},
    {K::Column, "dairysetting", "AddBonusInRate", "varchar(1) default 'N'"},
    {K::Column, "dairysetting", "RetailRate", "varchar(1) default 'N'"},
    {K::Column, "dairysetting", "ColDuplicate", "varchar(1) default 'Y'"},
    {K::Column, "dairysetting", "DailyRate", "varchar(1) default '0'"},
    {K::Column, "dairysetting", "StdAddtion", "varchar(5)"},

    // Start-up step trace.
    {K::Table, "TableDebug", nullptr, "ScreenName varchar(10), StepNo varchar(8)"},

    // Tables of the milk-collection editions sharing this file. This edition
    // touches only their party codes (the party delete), but keeps them in shape.
    {K::Table, "milk_col", nullptr,
     "auto_no counter(1,1), doc_dt datetime, sift varchar(1), party_code varchar(10), "
     "cattle varchar(10), SampleNo varchar(10), wt numeric(9,2), fat numeric(9,2), "
     "snf numeric(9,2), lacto numeric(9,2), rate numeric(9,2), net_amt numeric(9,2)"},
    {K::Table, "milk_col1", nullptr,
     "auto_no counter(1,1), doc_dt datetime, sift varchar(1), party_code varchar(10), "
     "cattle varchar(10), SampleNo varchar(10), wt numeric(9,2), fat numeric(9,2), "
     "snf numeric(9,2), lacto numeric(9,2), rate numeric(9,2), net_amt numeric(9,2)"},
    {K::Table, "masrate", nullptr,
     "party_code varchar(10), cattle varchar(10), RateType varchar(35), rate numeric(9,2), "
     "stdt date"},
    {K::Table, "advance", nullptr,
     "auto_no counter(1,1), doc_dt datetime, party_code varchar(10), amount numeric(12,2), "
     "remark varchar(100)"},
    {K::Table, "MilkReceipts", nullptr,
     "auto_no counter(1,1), doc_dt datetime, sift varchar(1), route varchar(10), "
     "party_code varchar(10), wt numeric(9,2), fat numeric(9,2), snf numeric(9,2), "
     "rate numeric(9,2), net_amt numeric(12,2)"},
    {K::Table, "bmc_MilkReceipts", nullptr,
     "auto_no counter(1,1), doc_dt datetime, sift varchar(1), route varchar(10), "
     "party_code varchar(10), wt numeric(9,2), fat numeric(9,2), snf numeric(9,2), "
     "rate numeric(9,2), net_amt numeric(12,2)"},
    {K::Table, "Bmc_TankerSale", nullptr,
     "auto_no counter(1,1), doc_dt datetime, tanker_no varchar(20), party_code varchar(10), "
     "wt numeric(9,2), fat numeric(9,2), snf numeric(9,2), rate numeric(9,2), "
     "net_amt numeric(12,2)"},
    {K::Table, "tankerpurchases", nullptr,
     "auto_no counter(1,1), doc_dt datetime, tanker_no varchar(20), party_code varchar(10), "
     "wt numeric(9,2), fat numeric(9,2), snf numeric(9,2), rate numeric(9,2), "
     "net_amt numeric(12,2)"},
    {K::Table, "tankersale", nullptr,
     "auto_no counter(1,1), doc_dt datetime, tanker_no varchar(20), party_code varchar(10), "
     "wt numeric(9,2), fat numeric(9,2), snf numeric(9,2), rate numeric(9,2), "
     "net_amt numeric(12,2)"},
    {K::Table, "RetailSale", nullptr,
     "auto_no counter(1,1), doc_dt datetime, sift varchar(1), party_code varchar(10), "
     "cattle varchar(10), qty numeric(9,2), rate numeric(9,2), net_amt numeric(9,2)"},
    {K::Table, "RetailRate", nullptr, "cattle varchar(10), rate numeric(9,2), stdt date"},
    {K::Table, "SaleRate", nullptr,
     "party_code varchar(10), item_name varchar(40), rate numeric(9,2)"},
    {K::Table, "TEMPrate", nullptr, "fat numeric(5,2), snf numeric(5,2), rate numeric(9,2)"},
    {K::Table, "route", nullptr,
     "route_code varchar(10), route_name varchar(40), vehicle varchar(20)"},
    {K::Table, "vehicle", nullptr,
     "veh_code varchar(10), veh_name varchar(40), driver varchar(40)"},
    {K::Table, "DairySetup", nullptr,
     "dairy_name varchar(50), add1 varchar(100), city varchar(40), ph varchar(40)"},
    {K::Table, "DBLedger", nullptr,
     "party_code varchar(10), party_name varchar(50), doc_dt datetime, remark varchar(100), "
     "dr numeric(12,2), cr numeric(12,2)"},
    {K::Table, "tempLedger", nullptr,
     "party_code varchar(10), party_name varchar(50), doc_dt datetime, remark varchar(100), "
     "dr numeric(12,2), cr numeric(12,2)"},
    {K::Table, "repled", nullptr,
     "party_code varchar(10), party_name varchar(50), doc_dt datetime, item_name varchar(40), "
     "dr numeric(12,2), cr numeric(12,2), remark varchar(100)"},
    {K::Table, "repmilk", nullptr,
     "party_code varchar(10), party_name varchar(50), doc_dt datetime, sift varchar(1), "
     "wt numeric(9,2), fat numeric(9,2), snf numeric(9,2), amount numeric(12,2)"},
    {K::Table, "BankAdvice", nullptr,
     "party_code varchar(10), party_name varchar(50), BankName varchar(40), "
     "AcNo varchar(20), IFSC varchar(20), amount numeric(12,2)"},
    {K::Table, "pmtrecd", nullptr,
     "auto_no counter(1,1), doc_dt datetime, party_code varchar(10), amount numeric(12,2), "
     "remark varchar(100)"},
    {K::Table, "ProductBuyer", nullptr,
     "party_code varchar(10), party_name varchar(50), add1 varchar(100), city varchar(40), "
     "ph varchar(40)"},
    {K::Table, "ProductRate", nullptr, "item_name varchar(40), rate numeric(9,2)"},
    {K::Table, "ProductSale", nullptr,
     "auto_no counter(1,1), doc_dt datetime, party_code varchar(10), item_name varchar(40), "
     "qty numeric(9,2), rate numeric(9,2), net_amt numeric(12,2)"},
    {K::Table, "DemandEntry", nullptr,
     "auto_no counter(1,1), doc_dt datetime, party_code varchar(10), item_name varchar(40), "
     "qty numeric(9,2)"},
    {K::Table, "ItemMaking", nullptr,
     "auto_no counter(1,1), doc_dt datetime, item_name varchar(40), qty numeric(9,2)"},
    {K::Table, "ProcessMaster", nullptr, "process_code varchar(10), process_name varchar(40)"},
    {K::Table, "processissue", nullptr,
     "auto_no counter(1,1), doc_dt datetime, process_code varchar(10), "
     "item_name varchar(40), qty numeric(9,2)"},
    {K::Table, "processrece", nullptr,
     "auto_no counter(1,1), doc_dt datetime, process_code varchar(10), "
     "item_name varchar(40), qty numeric(9,2)"},
    {K::Table, "ItemRecd", nullptr,
     "auto_no counter(1,1), doc_dt datetime, party_code varchar(10), item_name varchar(40), "
     "qty numeric(9,2), rate numeric(9,2), net_amt numeric(12,2)"},
    {K::Table, "r_milkcol", nullptr,
     "doc_dt datetime, sift varchar(1), party_code varchar(10), cattle varchar(10), "
     "wt numeric(9,2), fat numeric(9,2), snf numeric(9,2), lacto numeric(9,2), "
     "rate numeric(9,2), net_amt numeric(9,2)"},
    {K::Table, "TempDpDataImportOption3", nullptr,
     "doc_dt varchar(20), sift varchar(1), party_code varchar(10), wt varchar(20), "
     "fat varchar(20), snf varchar(20)"},
    {K::Table, "MenuName", nullptr,
     "MenuName varchar(50), MenuCaption varchar(100), LanguageCaption varchar(100)"},
    {K::Table, "milk_man", nullptr,
     "party_code varchar(10), party_name varchar(50), add1 varchar(100), city varchar(40), "
     "ph varchar(40)"},
    {K::Table, "TempRateVerticalChart", nullptr, nullptr, V::RateChartColumns},

    {K::Sql, "ErrorDesc", nullptr, "delete from ErrorDesc where ErrorDate <= ?", V::ErrorLogCutoff},

    // Menu names of the suite's main window.
    {K::Table, "mnuname", nullptr,
     "autono counter(1,1), MenuName varchar(50), MnuEnabled varchar(1), "
     "MenuCaption varchar(100)"},
    {K::MenuNames, "mnuname", nullptr, nullptr},
    {K::Sql, "mnuname", nullptr,
     "delete from mnuname where autono in (select max(autono) from mnuname group by "
     "MenuName having count(*) > 1)"},

    {K::Sql, "masparty", "Active",
     "update masparty set Active = 'Y' where (Active is null or Active = '')"},

    // The settings row, and the milk-collection defaults where nothing was chosen.
    {K::Sql, "dairysetting", "F6040_5248",
     "insert into dairysetting (dairylanguage, lactofrommachine, lactomanual, manualbackup, "
     "partycodeauto, weightmanual, MilkPort, WtPort, bits, AutoSnf, AutoClr, f6040_5248) "
     "select '1', '1', '1', '1', '1', '1', '1', '2', '2400', '1', '1', '60X40' "
     "where not exists (select 1 from dairysetting)"},
    {K::Sql, "dairysetting", "Partycodemanual",
     "update dairysetting set partycodeauto = '1' where (partycodeauto is null or "
     "partycodeauto = '') and (partycodemanual is null or partycodemanual = '')"},
    {K::Sql, "dairysetting", "MilkPort",
     "update dairysetting set MilkPort = '1' where MilkPort is null or MilkPort = ''"},
    {K::Sql, "dairysetting", "WtPort",
     "update dairysetting set WtPort = '2' where WtPort is null or WtPort = ''"},
    {K::Sql, "dairysetting", "Lactofrommachine",
     "update dairysetting set lactomanual = '1' where (lactomanual is null or lactomanual = "
     "'') and (lactofrommachine is null or lactofrommachine = '')"},
    {K::Sql, "dairysetting", "bits",
     "update dairysetting set bits = '2400' where bits is null or bits = ''"},
    {K::Sql, "dairysetting", "AutoSnf",
     "update dairysetting set autosnf = '1' where autosnf is null or autosnf = ''"},
    {K::Sql, "dairysetting", "AutoClr",
     "update dairysetting set autoClr = '1' where autoClr is null or autoClr = ''"},
    {K::Sql, "dairysetting", "BackupPath",
     "update dairysetting set BackupPath = ? where BackupPath is null or BackupPath = ''",
     V::DataFolder},
    {K::Sql, "dairysetting", "PrintSNF",
     "update dairysetting set PrintSNF = '1' where PrintSNF is null"},
    {K::Sql, "dairysetting", "PrintFAT",
     "update dairysetting set PrintFAT = '1' where PrintFAT is null"},
    {K::Sql, "dairysetting", "PrintLacto",
     "update dairysetting set PrintLacto = '1' where PrintLacto is null"},
    {K::Sql, "dairysetting", "PrintRate",
     "update dairysetting set PrintRate = '1' where PrintRate is null"},
    {K::Sql, "dairysetting", "PrintBalance",
     "update dairysetting set PrintBalance = '1' where PrintBalance is null"},
    {K::Sql, "dairysetting", "PrintTotalWeight",
     "update dairysetting set PrintTotalWeight = '1' where PrintTotalWeight is null"},
    {K::Sql, "dairysetting", "SnfFormula",
     "update dairysetting set SnfFormula = 'A' where SnfFormula is null"},

    // Widenings of columns first created too narrow.
    {K::Widen, "daybook", "AccountHead", "varchar(50)"},
    {K::Widen, "daybook", "Net_Amount", "numeric(20,2)"},
    {K::Widen, "accounthead", "AccountHead", "varchar(100)"},
    {K::Widen, "masparty", "CommPer", "numeric(9,2)"},
    {K::Widen, "masparty", "CowRateType", "varchar(35)"},
    {K::Widen, "masparty", "BuffaloRateType", "varchar(35)"},
    // The message log copies the party's name, which the party master takes up
    // to 50 characters; at 40 a long name would make the SMS log fail.
    {K::Widen, "MessageLog", "Party_Name", "varchar(50)"},
    // Five characters would stop the shop at bill 99,999 and party 99,999 on
    // PostgreSQL (SQLite never enforced the width); party codes are ten wide
    // everywhere else.
    {K::Widen, "itemsale", "Doc_No", "varchar(10)"},
    {K::Widen, "daybook", "party_code", "varchar(10)"},
    // A supplier's list text ("name - code") runs past 50 characters.
    {K::Widen, "daybook", "AccountHead", "varchar(100)"},

    // Keys and indexes of the milk-collection tables. Index names are global in
    // both engines, so the copies on a second table carry a suffix.
    {K::Index, "milk_col", "idx_docdt", "doc_dt"},
    {K::Index, "milk_col", "idx_sift", "sift"},
    {K::PrimaryKey, "milk_col", "Pk_auto_no", "auto_no"},
    {K::Index, "milk_col1", "idx_docdt1", "doc_dt"},
    {K::Index, "milk_col1", "idx_sift1", "sift"},
    {K::Index, "repmilk", "party_code", "party_code"},
    {K::Index, "REPLED2", "repled2_party_code", "party_code"},

    // Indexes this edition's screens and reports lean on.
    // A party found by its code gives its category and name from the index:
    // the item stock looks up every sale's party this way.
    {K::Index, "masparty", "idx_masparty_code_cat_name", "party_code, category, party_name"},
    {K::DropIndex, "masparty", "idx_masparty_code", nullptr},
    {K::Index, "masparty", "idx_masparty_card", "CardNo"},
    // One card, one party: a card given twice would charge its sales to either.
    {K::UniqueIndex, "masparty", "ux_masparty_cardno", "CardNo"},
    {K::Index, "masitem", "idx_masitem_name", "item_name"},
    {K::Index, "itemsale", "idx_itemsale_party_dt", "Party_code, Doc_dt"},
    // Every party's sales summed (the consolidated ledger, a party's balance)
    // from the index alone, without visiting a million rows in code order.
    {K::Index, "itemsale", "idx_itemsale_party_dt_amt", "Party_code, Doc_dt, Net_amt"},
    {K::Index, "itemsale", "idx_itemsale_doc_no", "Doc_No"},
    // The next bill number is the highest numeric doc_no, read at the end of
    // this index rather than computed over every sale (val() becomes a
    // built-in CAST on SQLite, and an index of an earlier version is rebuilt).
    {K::Index, "itemsale", "idx_itemsale_valdocno", "val(doc_no)"},
    {K::Index, "itemsale", "idx_itemsale_item_dt", "item_name, Doc_dt"},
    {K::Index, "itemsale", "idx_itemsale_dt", "Doc_dt"},
    {K::Index, "ItemPurchases", "idx_itempurchases_dt", "Doc_dt"},
    {K::Index, "ItemPurchases", "idx_itempurchases_item", "item_name, Doc_dt"},
    // Stock is the sum of quantities by item and date: an item's opening stock
    // and every item's stock, consolidated, read from these indexes alone.
    // The party too: an item's stock lines name the party of each sale.
    {K::Index, "itemsale", "idx_itemsale_item_dt_qty_party", "item_name, Doc_dt, Qty, Party_code"},
    {K::DropIndex, "itemsale", "idx_itemsale_item_dt_qty", nullptr},
    {K::Index, "ItemPurchases", "idx_itempurchases_item_dt_qty", "item_name, Doc_dt, Qty"},
    // A vendor's ledger finds its purchases by the vendor's name; the amount
    // makes its sums (and every vendor's, consolidated) index-only.
    {K::Index, "ItemPurchases", "idx_itempurchases_party", "Party_name, Doc_dt, Net_amount"},
    // Every party's vouchers summed by code (the party bill's openings) from
    // the index alone, not two hundred thousand rows visited in code order.
    {K::Index, "daybook", "idx_daybook_party_dt_type",
     "party_code, Dt, V_Type, Category, Net_Amount"},
    {K::DropIndex, "daybook", "idx_daybook_party_dt", nullptr},
    {K::Index, "daybook", "idx_daybook_dt", "Dt"},
    {K::Index, "BOM", "idx_bom_main", "MainItem"},
    {K::Index, "MessageLog", "idx_messagelog_dt", "Doc_Dt"},
    // The message centre lists one status in the order logged; most of a long
    // log is sent, the out box a small part of it.
    {K::Index, "MessageLog", "idx_messagelog_status", "status, RecordID"},
    {K::Index, "milk_col", "idx_milk_col_party", "party_code"},
    {K::Index, "advance", "idx_advance_party", "party_code"},
    {K::Index, "masrate", "idx_masrate_party", "party_code"},
    // Address (scheme, host, port) of the SMS gateway, kept with the SMS account.
    {K::Column, "dairysetting", "SmsGateway", "varchar(200)"},
    // The message centre's sending: web gateway on/off, its request format
    // (A/B), host, account, password and sender id; GSM modem on/off and port.
    {K::Column, "dairysetting", "MsgWebGateway", "varchar(1)"},
    {K::Column, "dairysetting", "MsgGatewayFormat", "varchar(1)"},
    {K::Column, "dairysetting", "MsgGatewayHost", "varchar(200)"},
    {K::Column, "dairysetting", "MsgGatewayUser", "varchar(50)"},
    {K::Column, "dairysetting", "MsgGatewayPwd", "varchar(50)"},
    {K::Column, "dairysetting", "MsgGatewaySender", "varchar(20)"},
    {K::Column, "dairysetting", "MsgGsmModem", "varchar(1)"},
    {K::Column, "dairysetting", "MsgModemPort", "varchar(100)"},
};

const Step kSecondBatchExtras[] = {
    {K::Column, "dairysetting", "StdAddtion", "varchar(5)"},
    {K::Column, "milk_col", "MainColAutoNo", "numeric(9)"},
    {K::DropTable, "TempRateVerticalChart", nullptr, nullptr},
    {K::Table, "TempRateVerticalChart", nullptr, nullptr, V::RateChartColumns},
};

// Menus of the whole suite. This edition's own entries come first; the rest name
// the milk-collection editions' screens so a shared file serves them all.
const MenuEntry kMenuEntries[] = {
    {"mnumaster", "Y", "Master"},
    {"mnucompany", "Y", "Party Master"},
    {"MnuItem", "Y", "Item"},
    {"MnuAcchead", "Y", "Account Head"},
    {"MnuBom", "Y", "BOM"},
    {"MnuSmsSetting", "Y", "SMS Setting"},
    {"mnuactivity", "Y", "Activity"},
    {"Mnuitpurchases", "Y", "Item Purchases"},
    {"mnuitemtomilkman", "Y", "Items Sale"},
    {"mnudaybook", "Y", "Day Book"},
    {"MnuRC", "Y", "Recharge Card"},
    {"mnureport", "Y", "Reports"},
    {"MnuFormat1", "Y", "Party Bill Periodic"},
    {"MnuPBIW", "Y", "Party Bill Invoice Wise"},
    {"MnuVendorLedger", "Y", "Vendor Ledger Vendor Wise"},
    {"MnuPartyLedger", "Y", "Party Ledger Party Wise"},
    {"MnuLedgerConsolidate", "Y", "Party Ledger Consolidate"},
    {"Mnuitpu", "Y", "Item Purchase Statement"},
    {"mnuItSalest", "Y", "Item Sale Statement Item wise"},
    {"MnuLItemST", "Y", "Item Sale Statement Party wise"},
    {"Mnuitss", "Y", "Item Sale Statement (Summary)"},
    {"MnuItStock", "Y", "Main Item Stock Item Wise"},
    {"MnuSubItemStock", "Y", "Sub Item Stock Item Wise"},
    {"MnuItemStkConsolidate", "Y", "Item Stock Consolidate"},
    {"MnuDBST", "Y", "Day Book Statement"},
    {"MnuBsheet", "N", "Balance Sheet"},
    {"MnuSms", "Y", "Message (SMS)"},
    {"mnusec", "Y", "Security"},
    {"mnuussec", "Y", "User Security"},
    {"mnuadsec", "Y", "Administrator Security"},
    {"mnutool", "Y", "Tools"},
    {"MnuDR", "Y", "Update Database"},
    {"MnuRepDB", "Y", "Repair Database"},
    {"MnuDsn", "Y", "Dsn Creation"},
    {"Mnuexit", "Y", "Exit"},
    {"MnuMilkCollection", "Y", "Milk Collection"},
    {"MnuMilkCollectionEdit", "Y", "Milk Collection Edit"},
    {"MnuRateChart", "Y", "Rate Chart"},
    {"MnuRateChartVertical", "Y", "Rate Chart Vertical"},
    {"MnuPartyRate", "Y", "Party Rate Setting"},
    {"MnuAdvance", "Y", "Advance Entry"},
    {"MnuRoute", "Y", "Route Master"},
    {"MnuVehicle", "Y", "Vehicle Master"},
    {"MnuMilkReceipts", "Y", "Milk Receipts"},
    {"MnuBmcMilkReceipts", "Y", "BMC Milk Receipts"},
    {"MnuTankerPurchase", "Y", "Tanker Purchase"},
    {"MnuTankerSale", "Y", "Tanker Sale"},
    {"MnuBmcTankerSale", "Y", "BMC Tanker Sale"},
    {"MnuRetailSale", "Y", "Retail Milk Sale"},
    {"MnuRetailRate", "Y", "Retail Milk Rate"},
    {"MnuSaleRate", "Y", "Sale Rate"},
    {"MnuPaymentReceived", "Y", "Payment Received"},
    {"MnuBankAdvice", "Y", "Bank Advice"},
    {"MnuProductBuyer", "Y", "Product Buyer"},
    {"MnuProductRate", "Y", "Product Rate"},
    {"MnuProductSale", "Y", "Product Sale"},
    {"MnuDemandEntry", "Y", "Demand Entry"},
    {"MnuItemMaking", "Y", "Item Making"},
    {"MnuProcessMaster", "Y", "Process Master"},
    {"MnuProcessIssue", "Y", "Process Issue"},
    {"MnuProcessReceive", "Y", "Process Receive"},
    {"MnuItemReceived", "Y", "Item Received"},
    {"MnuDataImport", "Y", "Collection Data Import"},
    {"MnuDairySetting", "Y", "Dairy Setting"},
    {"MnuDairySetup", "Y", "Dairy Setup"},
    {"MnuShiftReport", "Y", "Shift Report"},
    {"MnuDailyReport", "Y", "Daily Collection Report"},
    {"MnuMilkLedger", "Y", "Milk Ledger"},
    {"MnuMilkBill", "Y", "Milk Bill"},
    {"MnuPaymentRegister", "Y", "Payment Register"},
    {"MnuDeductionReport", "Y", "Deduction Report"},
    {"MnuRouteReport", "Y", "Route Wise Report"},
    {"MnuTankerReport", "Y", "Tanker Report"},
    {"MnuSummaryReport", "Y", "Summary Report"},
    {"MnuAnalyzerSetting", "Y", "Milk Analyzer Setting"},
    {"MnuScaleSetting", "Y", "Weighing Scale Setting"},
    {"MnuDisplaySetting", "Y", "Display Setting"},
    {"MnuPrinterSetting", "Y", "Printer Setting"},
    {"MnuBackup", "Y", "Backup"},
    {"MnuRestore", "Y", "Restore"},
};

} // namespace

std::span<const Step> firstBatch() {
    return kFirstBatch;
}

std::span<const Step> secondBatchExtras() {
    return kSecondBatchExtras;
}

std::span<const MenuEntry> menuEntries() {
    return kMenuEntries;
}

const char* rateChartColumns() {
    // Snf down the side, one rate column per fat value 3.0 to 10.0 (F30 .. F100).
    static const std::string columns = [] {
        std::string s = "Snf numeric(5,2)";
        for (int fat = 30; fat <= 100; ++fat)
            s += ", F" + std::to_string(fat) + " numeric(9,2)";
        return s;
    }();
    return columns.c_str();
}

} // namespace stokara::schema
