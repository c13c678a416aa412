#include "invoicefirm.h"

#include "salesdata.h"

#include "core/financialyear.h"

namespace testdata {

InvoiceFirm addInvoiceFirm()
{
    InvoiceFirm firm;
    firm.local = addCustomer("Acme Local", {"12 Main Road", "Pune", "27AAAAA0000A1Z5", "9876543210"});
    CustomerDetails interstate{"4 Ring Road", "Surat", "24BBBBB0000B1Z5", "9123456780"};
    interstate.type = "IGST Customer";
    firm.interstate = addCustomer("Beta Interstate", interstate);
    firm.rate18 = addItem(firm.local, "A-18", "Anodised bracket", "NOS", 100, 18);
    firm.rate5 = addItem(firm.local, "B-5", "Powder coated plate", "KGS", 50, 5);

    Inward inward{1, "26-27", firm.local, firm.rate18, 30};
    inward.poNo = "PO-77";
    addInward(inward);
    inward.itemId = firm.rate5;
    addInward(inward);
    Inward other{2, "26-27", firm.interstate, firm.rate18, 30};
    other.poNo = "PO-88";
    addInward(other);

    addDelivery({1, "26-27", 1, firm.local, firm.rate18, 10});
    addDelivery({1, "26-27", 1, firm.local, firm.rate5, 10});
    addDelivery({2, "26-27", 2, firm.interstate, firm.rate18, 10});
    return firm;
}

bool openInvoiceFirm(TestEnvironment &env, InvoiceFirm *firm)
{
    if (!openSalesDatabase(env))
        return false;
    g_currentFY = "26-27";
    *firm = addInvoiceFirm();
    return true;
}

} // namespace testdata
