// Lighthouse on the site, on its mobile or desktop preset, in a tab of a
// browser of startBrowser's (Debian's Chromium): the report's result object.
import lighthouse from "lighthouse";
import desktopConfig from "lighthouse/core/config/desktop-config.js";

const PRESETS = { mobile: undefined, desktop: desktopConfig };

export async function runLighthouse(browser, preset, categories) {
  const page = await browser.blank();
  const { lhr } = await lighthouse(browser.url, { logLevel: "error", onlyCategories: categories },
    PRESETS[preset], page);
  await page.close();
  if (lhr.runtimeError) throw new Error(`Lighthouse: ${JSON.stringify(lhr.runtimeError)}`);
  return lhr;
}
