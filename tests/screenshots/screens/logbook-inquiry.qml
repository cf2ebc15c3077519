import Vorna.Screenshots
import Vorna.Flights

// The logbook filtered to the report on hold, which shows under "问询" only.
LogbookWindow {
    page: "logbook"
    filter: LogbookModel.Inquiry
}
